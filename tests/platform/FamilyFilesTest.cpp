// Files for the family: where the desktop keeps pictures, how they are named,
// and that nothing earlier is overwritten; and the program's own images.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/FamilyFiles.h"
#include "platform/ImageFiles.h"
#include "platform/core/Files.h"
#include "platform/core/UserFolders.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

struct FamilyFilesTest : ::testing::Test {
    QTemporaryDir home;
    FamilyFilesTest() {
        ::setenv("HOME", home.path().toUtf8().constData(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    fs::path at(const char* relative) const { return fs::path(home.path().toStdString()) / relative; }
    void userDirs(const std::string& text) const {
        fs::create_directories(at(".config"));
        std::ofstream(at(".config/user-dirs.dirs")) << text;
    }
};

constexpr std::time_t kNoon = 1796911380;  // 2026-12-10 14:03 UTC

}  // namespace

TEST_F(FamilyFilesTest, TheFolderIsTheDesktopsPicturesFolderNamedInUserDirs) {
    const struct {
        const char* list;
        const char* expected;
    } rows[] = {
        {nullptr, "Pictures/Пятнушки"},
        {"# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Изображения\"\n", "Изображения/Пятнушки"},
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n  XDG_PICTURES_DIR=\"$HOME/media/фото\"\n", "media/фото/Пятнушки"},
        {"XDG_PICTURES_DIR=\"$HOME/\"\n", "Pictures/Пятнушки"},  // switched off: the home itself
    };
    for (const auto& row : rows) {
        fs::remove_all(at(".config"));
        if (row.list) userDirs(row.list);
        EXPECT_EQ(familyFolder(), at(row.expected)) << (row.list ? row.list : "no list");
    }
    userDirs("XDG_PICTURES_DIR=\"/srv/photos\"\n");
    EXPECT_EQ(familyFolder(), fs::path("/srv/photos/Пятнушки"));
}

TEST_F(FamilyFilesTest, NamesTellTitleDateAndTimeAndNeverOverwrite) {
    EXPECT_EQ(familyFileStem("Лиса", kNoon), "Лиса 2026-12-10 14.03");
    EXPECT_EQ(familyFileStem("  ", kNoon, 2), "Рисунок 2026-12-10 14.03 (2)");
    EXPECT_EQ(familyFileStem("../a/b:c", kNoon), "a b c 2026-12-10 14.03");

    const std::string first = "first", second = "second";
    const auto one = keepForFamily("Лиса", "png", first, kNoon);
    const auto two = keepForFamily("Лиса", "png", second, kNoon);
    ASSERT_TRUE(std::holds_alternative<fs::path>(one)) << std::get<std::string>(one);
    ASSERT_TRUE(std::holds_alternative<fs::path>(two)) << std::get<std::string>(two);
    EXPECT_EQ(std::get<fs::path>(one), at("Pictures/Пятнушки/Лиса 2026-12-10 14.03.png"));
    EXPECT_EQ(std::get<fs::path>(two), at("Pictures/Пятнушки/Лиса 2026-12-10 14.03 (2).png"));
    EXPECT_EQ(readFileBytes(std::get<fs::path>(one), 100), first);

    fs::create_directories(at("Pictures"));
    fs::remove_all(at("Pictures/Пятнушки"));
    std::ofstream(at("Pictures/Пятнушки")) << "a file where the folder should be";
    const auto refused = keepForFamily("Лиса", "png", first, kNoon);
    ASSERT_TRUE(std::holds_alternative<std::string>(refused));
    EXPECT_EQ(std::get<std::string>(refused), "на месте папки лежит файл");
}

TEST_F(FamilyFilesTest, ThePngHoldsThePixelsColourForColour) {
    PixelBuffer pixels(5, 3, kWhite);
    pixels.setPixel(0, 0, rgb(255, 0, 0));
    pixels.setPixel(4, 2, rgb(1, 2, 3));
    const std::string png = pngOf(pixels);
    const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size()), "PNG");
    ASSERT_EQ(image.size(), QSize(5, 3));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const ColourNumber c = pixels.pixel(x, y);
            EXPECT_EQ(image.pixelColor(x, y), QColor(redOf(c), greenOf(c), blueOf(c))) << x << "," << y;
        }
    }
}

// The PNG's header with another size, its checksum made to match.
std::string resized(std::string png, std::uint32_t width, std::uint32_t height) {
    const auto put = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) png[at + i] = static_cast<char>(value >> (24 - 8 * i));
    };
    put(16, width);
    put(20, height);
    std::uint32_t crc = 0xffffffff;  // over the chunk's type and data: bytes 12-28
    for (std::size_t i = 12; i < 29; ++i) {
        crc ^= static_cast<unsigned char>(png[i]);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
    }
    put(29, ~crc);
    return png;
}

TEST_F(FamilyFilesTest, ImagesBesideTheProgramAreReadOnlyWholeFromRegularFiles) {
    const std::string png = pngOf(PixelBuffer(3, 2, rgb(0, 0, 255)));
    std::ofstream(at("sun.png"), std::ios::binary) << png;
    std::ofstream(at("cut.png"), std::ios::binary) << png.substr(0, png.size() / 2);
    // A few hundred bytes that claim 324 MB of pixels, beyond Qt's reading limit.
    std::ofstream(at("vast.png"), std::ios::binary) << resized(png, 9000, 9000);
    // A size within the limit but no pixels for it.
    std::ofstream(at("hollow.png"), std::ios::binary) << resized(png, 2000, 1000);
    ASSERT_EQ(::mkfifo(at("pipe.png").c_str(), 0600), 0);  // opening it to read would wait for good
    EXPECT_EQ(imageFile(at("sun.png").string()).size(), QSize(3, 2));
    EXPECT_EQ(imageFile(at("sun.png").string()).toImage().pixelColor(2, 1), QColor(0, 0, 255));
    for (const char* name : {"cut.png", "vast.png", "hollow.png", "pipe.png", "missing.png"}) {
        EXPECT_TRUE(imageFile(at(name).string()).isNull()) << name;
    }
}
