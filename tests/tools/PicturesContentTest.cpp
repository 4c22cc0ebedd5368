// The pictures the build puts in the program folder, read back with the
// program's own reader: every one present, whole and in black and white, and
// every patch of colour of the drawing it came from a closed area of its own.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "pictures/core/GalleryFolder.h"
#include "pictures/core/PictureFiles.h"
#include "tools/LineArt.h"

namespace {

namespace fs = std::filesystem;
using pictures::FileError;

const fs::path kProgram = PYATNUSHKI_PROGRAM_DIR;
const fs::path kPictures = fs::path(PYATNUSHKI_SOURCE_DIR) / "assets" / "pictures";
constexpr int kPictureCount = 35;

struct Listed {
    int number = 0;
    std::string hex, title;
    lineart::Scene scene = lineart::Scene::None;
};

std::vector<Listed> listedAnimals() {
    std::ifstream in(kPictures / "animals.tsv");
    std::vector<Listed> animals;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Listed animal;
        std::string number;
        std::getline(fields, number, '\t');
        std::getline(fields, animal.hex, '\t');
        std::getline(fields, animal.title, '\t');
        std::string name, scene;
        std::getline(fields, name, '\t');
        if (std::getline(fields, scene, '\t')) {
            EXPECT_TRUE(lineart::sceneFromName(scene, &animal.scene)) << scene;
        }
        animal.number = std::stoi(number);
        animals.push_back(animal);
    }
    return animals;
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
    std::set<std::string> codes;
    for (std::size_t i = 0; i < animals.size(); ++i) {
        EXPECT_EQ(animals[i].number, static_cast<int>(i) + 1);
        EXPECT_TRUE(codes.insert(animals[i].hex).second) << animals[i].hex << " is listed twice";
        EXPECT_TRUE(fs::exists(kPictures / "openmoji" / (animals[i].hex + ".svg"))) << animals[i].hex;
    }
    EXPECT_TRUE(fs::exists(kPictures / "openmoji" / "LICENSE.txt"));
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
        ASSERT_EQ(picture.width, lineart::kWidth) << name;
        ASSERT_EQ(picture.height, lineart::kHeight) << name;

        int black = 0, other = 0, nearEdge = 0;
        // The animal keeps clear of the edges: all of the background around it is one area.
        constexpr int kClear = lineart::kMargin / 2;
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

TEST(PicturesContentTest, GalleryHasABlankSlotAndOneForEveryPicture) {
    for (int slot = 0; slot <= kPictureCount; ++slot) {
        const fs::path file = kProgram / pictures::initialGalleryPath(slot);
        ASSERT_TRUE(fs::exists(file)) << file;
        const pictures::GalleryPicture picture = valueOf(pictures::readGalleryPicture(file));
        EXPECT_FALSE(picture.title.empty()) << file;
        ASSERT_EQ(picture.width, lineart::kWidth) << file;
        ASSERT_EQ(picture.height, lineart::kHeight) << file;
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

std::string describe(const lineart::Labels& labels, const lineart::Regions& regions, int region) {
    const int label = regions.label[region];
    const int first = regions.firstPixel[region];
    const std::string colour =
        label == lineart::kBackground
            ? "background"
            : "colour #" + QString::number(labels.fills[label - lineart::kFirstFill] & 0xFFFFFF, 16)
                               .rightJustified(6, '0')
                               .toUpper()
                               .toStdString();
    return "patch " + std::to_string(region) + " (" + colour + ", " + std::to_string(regions.size[region]) +
           " px, first pixel (" + std::to_string(first % labels.width) + ", " + std::to_string(first / labels.width) +
           "))";
}

// The drawing is labelled again exactly as the converter labels it; each patch
// must have become one white area, and no white area may span two patches:
// otherwise the fill would stop short of a patch or run from one into the next.
TEST(PicturesContentTest, EveryPatchOfTheDrawingIsOneClosedArea) {
    const std::vector<Listed> animals = listedAnimals();
    ASSERT_EQ(animals.size(), static_cast<std::size_t>(kPictureCount));
    for (const Listed& animal : animals) {
        QFile svgFile(QString::fromStdString((kPictures / "openmoji" / (animal.hex + ".svg")).string()));
        ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly)) << animal.hex;
        const lineart::Labels labels =
            lineart::labelDrawing(svgFile.readAll(), lineart::kWidth, lineart::kHeight, lineart::kMargin, animal.scene);
        ASSERT_FALSE(labels.label.empty()) << animal.hex;
        const lineart::Regions regions = lineart::findRegions(labels);
        // The animal itself, its scene left out, fills the side of the page that limits it.
        const double across = static_cast<double>(labels.animal.width()) / labels.width;
        const double down = static_cast<double>(labels.animal.height()) / labels.height;
        EXPECT_GE(std::max(across, down), 0.6) << animal.title << ": " << across << " of the width, " << down
                                                << " of the height";

        const pictures::LibraryPicture picture =
            valueOf(pictures::readLibraryPicture(kProgram / pictures::libraryPicturePath(animal.number)));
        ASSERT_EQ(picture.cells.size(), labels.label.size()) << animal.title;
        const std::string name = where(picture, animal.number) + " from " + animal.hex + ".svg";
        const std::vector<int> area = whiteAreas(picture);

        // The first area met in each patch and the first patch met in each area.
        std::vector<int> areaOfRegion(regions.size.size(), -1);
        std::vector<int> regionOfArea(picture.cells.size(), -1);
        std::vector<bool> splitTold(regions.size.size(), false);
        std::vector<bool> sharedTold(picture.cells.size(), false);
        int failures = 0;
        for (std::size_t p = 0; p < area.size() && failures < 5; ++p) {
            const int region = regions.id[p];
            if (region < 0 || area[p] < 0) continue;
            const std::string pixel =
                " at pixel (" + std::to_string(p % picture.width) + ", " + std::to_string(p / picture.width) + ")";
            if (areaOfRegion[region] < 0) areaOfRegion[region] = area[p];
            if (regionOfArea[area[p]] < 0) regionOfArea[area[p]] = region;
            if (areaOfRegion[region] != area[p] && !splitTold[region]) {
                ADD_FAILURE() << name << ": " << describe(labels, regions, region)
                              << " is split into more than one white area" << pixel;
                splitTold[region] = true;
                ++failures;
            }
            if (regionOfArea[area[p]] != region && !sharedTold[area[p]]) {
                ADD_FAILURE() << name << ": " << describe(labels, regions, regionOfArea[area[p]]) << " and "
                              << describe(labels, regions, region) << " share one white area" << pixel;
                sharedTold[area[p]] = true;
                ++failures;
            }
        }
        for (std::size_t region = 0; region < regions.size.size() && failures < 5; ++region) {
            if (areaOfRegion[region] < 0) {
                ADD_FAILURE() << name << ": " << describe(labels, regions, static_cast<int>(region))
                              << " has no white area";
                ++failures;
            }
        }
    }
}

}  // namespace
