// The pictures the build puts in the program folder, read back with the
// program's own reader: every one present, whole and in black and white, the
// animal as large as the page allows, and every patch of colour of the drawing
// it came from a closed area of its own.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "pictures/core/GalleryFolder.h"
#include "pictures/core/PictureFiles.h"
#include "tools/LineArt.h"
#include "tools/PicturePage.h"

namespace {

namespace fs = std::filesystem;
using pictures::FileError;

const fs::path kProgram = PYATNUSHKI_PROGRAM_DIR;
const fs::path kPictures = fs::path(PYATNUSHKI_SOURCE_DIR) / "assets" / "pictures";
constexpr int kPictureCount = 35;

struct Listed {
    int number = 0;
    std::string drawing, title;
    page::Scene scene = page::Scene::None;
};

std::vector<Listed> listedAnimals() {
    std::ifstream in(kPictures / "animals.tsv");
    std::vector<Listed> animals;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Listed animal;
        std::string number, scene;
        std::getline(fields, number, '\t');
        std::getline(fields, animal.drawing, '\t');
        std::getline(fields, animal.title, '\t');
        std::getline(fields, scene, '\t');
        EXPECT_TRUE(page::sceneFromName(scene, &animal.scene)) << scene;
        animal.number = std::stoi(number);
        animals.push_back(animal);
    }
    return animals;
}

QByteArray drawing(const Listed& animal) {
    QFile file(QString::fromStdString((kPictures / "fluent" / (animal.drawing + ".svg")).string()));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << animal.drawing;
    return file.readAll();
}

template <typename T>
T valueOf(std::variant<T, FileError> result) {
    if (auto* error = std::get_if<FileError>(&result)) ADD_FAILURE() << error->message;
    return std::holds_alternative<T>(result) ? std::get<T>(std::move(result)) : T{};
}

std::string where(const pictures::LibraryPicture& picture, int number) {
    return picture.title + " (data/ " + std::to_string(number) + ".mac)";
}

TEST(PicturesContentTest, ListNamesThirtyFiveDrawingsThatAreThere) {
    const std::vector<Listed> animals = listedAnimals();
    ASSERT_EQ(animals.size(), static_cast<std::size_t>(kPictureCount));
    std::set<std::string> names;
    for (std::size_t i = 0; i < animals.size(); ++i) {
        EXPECT_EQ(animals[i].number, static_cast<int>(i) + 1);
        EXPECT_TRUE(names.insert(animals[i].drawing).second) << animals[i].drawing << " is listed twice";
        EXPECT_TRUE(fs::exists(kPictures / "fluent" / (animals[i].drawing + ".svg"))) << animals[i].drawing;
    }
    EXPECT_TRUE(fs::exists(kPictures / "fluent" / "LICENSE"));
}

// The animal itself, its scene left out, spans at least three quarters of the
// side of the page that limits its size.
TEST(PicturesContentTest, AnimalFillsTheLimitingSideOfThePage) {
    for (const Listed& animal : listedAnimals()) {
        const std::optional<page::Page> laidOut = page::layOut(drawing(animal), animal.scene);
        ASSERT_TRUE(laidOut) << animal.drawing;
        const double across = static_cast<double>(laidOut->animal.width()) / page::kWidth;
        const double down = static_cast<double>(laidOut->animal.height()) / page::kHeight;
        std::printf("%-28s spans %2.0f %% of the width, %2.0f %% of the height\n", animal.title.c_str(), 100 * across,
                    100 * down);
        EXPECT_GE(std::max(across, down), 0.75) << animal.title << ": " << across << " of the width, " << down
                                                 << " of the height";
    }
}

TEST(PicturesContentTest, LibraryPicturesAreWholeBlackAndWhiteWithDistinctTitles) {
    const std::vector<Listed> animals = listedAnimals();
    ASSERT_EQ(animals.size(), static_cast<std::size_t>(kPictureCount));
    std::set<std::string> titles;
    for (const Listed& animal : animals) {
        const fs::path file = kProgram / pictures::libraryPicturePath(animal.number);
        ASSERT_TRUE(fs::exists(file)) << file;
        const pictures::LibraryPicture picture = valueOf(pictures::readLibraryPicture(file));
        const std::string name = where(picture, animal.number);
        EXPECT_EQ(picture.title, animal.title) << name;
        titles.insert(picture.title);
        ASSERT_EQ(picture.width, page::kWidth) << name;
        ASSERT_EQ(picture.height, page::kHeight) << name;

        int black = 0, other = 0, nearEdge = 0;
        // The animal keeps clear of the edges: all of the background around it is one area.
        constexpr int kClear = page::kMargin / 2;
        for (int r = 0; r < picture.height; ++r) {
            for (int c = 0; c < picture.width; ++c) {
                const std::int8_t cell = picture.cells[static_cast<std::size_t>(r) * picture.width + c];
                if (cell == 0) {
                    ++black;
                    if (r < kClear || c < kClear || r >= picture.height - kClear || c >= picture.width - kClear) {
                        ++nearEdge;
                    }
                } else if (cell != 1) {
                    ++other;
                }
            }
        }
        EXPECT_EQ(other, 0) << name << ": cells neither black nor white";
        EXPECT_EQ(nearEdge, 0) << name << ": black cells within " << kClear << " of the edge";
        // Enough lines to be a drawing, few enough to leave room to colour.
        const int cells = picture.width * picture.height;
        EXPECT_GT(black, cells / 100) << name;
        EXPECT_LT(black, cells / 3) << name;
    }
    EXPECT_EQ(titles.size(), static_cast<std::size_t>(kPictureCount));
}

TEST(PicturesContentTest, GalleryStartsWithABlankSlotAndOneForEveryPicture) {
    const fs::path before = fs::current_path();
    fs::current_path(kProgram);  // the program's folder, as when it runs
    for (int slot = 0; slot <= kPictureCount; ++slot) {
        const auto read = pictures::startingPicture(slot);
        const std::string file = "slot " + std::to_string(slot);
        const pictures::GalleryPicture picture = valueOf(read);
        EXPECT_FALSE(picture.title.empty()) << file;
        ASSERT_EQ(picture.width, page::kWidth) << file;
        ASSERT_EQ(picture.height, page::kHeight) << file;
        // The last row lies below the canvas and is saved as "no colour".
        const std::size_t lastRow = static_cast<std::size_t>(picture.height - 1) * picture.width;
        int lastRowOutside = 0, insideOutside = 0;
        for (std::size_t i = 0; i < picture.cells.size(); ++i) {
            const bool outside = picture.cells[i] == platform::kNoColour;
            (i >= lastRow ? lastRowOutside : insideOutside) += outside ? 1 : 0;
        }
        EXPECT_EQ(lastRowOutside, picture.width) << file;
        EXPECT_EQ(insideOutside, 0) << file;
    }
    fs::current_path(before);
}

// The white 4-connected areas of a picture, as the fill sees them: the area of
// each cell, -1 for black ones.
std::vector<int> whiteAreas(const pictures::LibraryPicture& picture) {
    const int w = picture.width, h = picture.height;
    std::vector<int> area(picture.cells.size(), -1);
    std::vector<int> stack;
    int next = 0;
    for (int start = 0; start < w * h; ++start) {
        if (picture.cells[start] != 1 || area[start] >= 0) continue;
        area[start] = next;
        stack.push_back(start);
        while (!stack.empty()) {
            const int p = stack.back();
            stack.pop_back();
            const int x = p % w, y = p / w;
            for (const int q :
                 {x > 0 ? p - 1 : -1, x + 1 < w ? p + 1 : -1, y > 0 ? p - w : -1, y + 1 < h ? p + w : -1}) {
                if (q >= 0 && picture.cells[q] == 1 && area[q] < 0) {
                    area[q] = next;
                    stack.push_back(q);
                }
            }
        }
        ++next;
    }
    return area;
}

// The drawing is laid out and converted again exactly as the build does it;
// the file must hold that line art, every patch left to colour must have
// white, and no white area may span two patches: otherwise the fill would
// run from one part into the next.
TEST(PicturesContentTest, EveryPatchOfTheDrawingIsOneClosedArea) {
    for (const Listed& animal : listedAnimals()) {
        const std::optional<page::Page> laidOut = page::layOut(drawing(animal), animal.scene);
        ASSERT_TRUE(laidOut) << animal.drawing;
        const lineart::Result art = lineart::convert(laidOut->colours);
        const pictures::LibraryPicture picture =
            valueOf(pictures::readLibraryPicture(kProgram / pictures::libraryPicturePath(animal.number)));
        ASSERT_EQ(picture.cells.size(), art.white.size()) << animal.title;
        const std::string name = where(picture, animal.number) + " from " + animal.drawing + ".svg";
        const std::vector<int> area = whiteAreas(picture);

        std::vector<int> patchOfArea(picture.cells.size(), -1);
        std::vector<bool> hasWhite(static_cast<std::size_t>(art.patches), false);
        int failures = 0;
        for (std::size_t p = 0; p < area.size() && failures < 5; ++p) {
            const std::string pixel =
                " at pixel (" + std::to_string(p % picture.width) + ", " + std::to_string(p / picture.width) + ")";
            if ((picture.cells[p] == 1) != (art.white[p] == 1)) {
                ADD_FAILURE() << name << ": the file differs from the line art" << pixel;
                ++failures;
            }
            if (area[p] < 0) continue;
            const int patch = art.patch[p];
            hasWhite[patch] = true;
            if (patchOfArea[area[p]] < 0) patchOfArea[area[p]] = patch;
            if (patchOfArea[area[p]] != patch) {
                ADD_FAILURE() << name << ": patches " << patchOfArea[area[p]] << " and " << patch
                              << " share one white area" << pixel;
                patchOfArea[area[p]] = patch;
                ++failures;
            }
        }
        for (int patch = 0; patch < art.patches && failures < 5; ++patch) {
            if (!hasWhite[patch]) {
                ADD_FAILURE() << name << ": patch " << patch << " has no white area";
                ++failures;
            }
        }
    }
}

}  // namespace
