// make_pictures run as the build runs it, into a folder of its own: the
// gallery a child has coloured in survives a rebuild, a missing slot comes
// back, and the program's own files come out the same every time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <variant>

#include "pictures/core/GalleryFolder.h"
#include "pictures/core/PictureFiles.h"
#include "platform/core/PixelBuffer.h"

namespace {

namespace fs = std::filesystem;

const fs::path kPictures = fs::path(PYATNUSHKI_SOURCE_DIR) / "assets" / "pictures";

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class MakePicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("pyatnushki_make_pictures_" + std::to_string(std::random_device{}()));
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    int run(const fs::path& pictures, const fs::path& program) {
        const std::string command =
            std::string("'") + MAKE_PICTURES + "' '" + pictures.string() + "' '" + program.string() + "' > /dev/null";
        return std::system(command.c_str());
    }

    fs::path root_;
};

TEST_F(MakePicturesTest, RerunKeepsColouredSlotsRestoresMissingOnesAndRepeatsItself) {
    const fs::path program = root_ / "program";
    ASSERT_EQ(run(kPictures, program), 0);

    const fs::path coloured = program / pictures::initialGalleryPath(5);
    const fs::path removed = program / pictures::initialGalleryPath(7);
    const fs::path blank = program / pictures::initialGalleryPath(0);
    const std::string removedBefore = bytesOf(removed);
    const std::string blankBefore = bytesOf(blank);
    const std::string libraryBefore = bytesOf(program / pictures::libraryPicturePath(1));
    const std::string welcomeBefore = bytesOf(program / "welcome1.png");
    ASSERT_FALSE(removedBefore.empty());

    // A child's colouring saved over slot 5, as the gallery would save it.
    platform::PixelBuffer canvas(696, 903, platform::rgb(255, 0, 0));
    ASSERT_FALSE(pictures::saveGalleryPicture(coloured, "Красная лиса", canvas).has_value());
    const std::string colouredBefore = bytesOf(coloured);
    fs::remove(removed);

    ASSERT_EQ(run(kPictures, program), 0);
    EXPECT_TRUE(bytesOf(coloured) == colouredBefore) << "the coloured slot was overwritten";
    EXPECT_TRUE(bytesOf(blank) == blankBefore);
    EXPECT_TRUE(bytesOf(removed) == removedBefore) << "the missing slot did not come back as it was";
    EXPECT_TRUE(bytesOf(program / pictures::libraryPicturePath(1)) == libraryBefore);
    EXPECT_TRUE(bytesOf(program / "welcome1.png") == welcomeBefore);
    EXPECT_FALSE(fs::exists(program / "data" / "gl 5.mac.new"));
}

TEST_F(MakePicturesTest, MissingDrawingFailsTheRunBeforeAnySlotIsWritten) {
    const fs::path pictures = root_ / "pictures";
    fs::create_directories(pictures / "fluent");
    fs::copy_file(kPictures / "fluent" / "fox.svg", pictures / "fluent" / "fox.svg");
    std::ofstream(pictures / "animals.tsv")
        << "# number\tdrawing\ttitle\tscene\n1\tfox\tЛиса\tmeadow\n2\tnobody\tНикто\tmeadow\n";

    const fs::path program = root_ / "program";
    EXPECT_NE(run(pictures, program), 0);
    EXPECT_FALSE(fs::exists(program / pictures::initialGalleryPath(0)));
    EXPECT_FALSE(fs::exists(program / "welcome1.png"));
}

TEST_F(MakePicturesTest, TitleOutsideWindows1251IsRefused) {
    const fs::path pictures = root_ / "pictures";
    fs::create_directories(pictures / "fluent");
    fs::copy_file(kPictures / "fluent" / "fox.svg", pictures / "fluent" / "fox.svg");
    std::ofstream(pictures / "animals.tsv") << "1\tfox\tЛиса 🦊\tmeadow\n";
    EXPECT_NE(run(pictures, root_ / "program"), 0);
}

}  // namespace
