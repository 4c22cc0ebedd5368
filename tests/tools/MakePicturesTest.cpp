// make_pictures run as the build runs it, into a folder of its own: the
// program's own files come out the same every time, and no starting gallery is
// written (the program makes those pictures when it needs them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <variant>

#include "pictures/core/PictureFiles.h"

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

TEST_F(MakePicturesTest, ARerunRepeatsItselfAndWritesNoGallery) {
    const fs::path program = root_ / "program";
    ASSERT_EQ(run(kPictures, program), 0);
    const std::string libraryBefore = bytesOf(program / pictures::libraryPicturePath(1));
    const std::string welcomeBefore = bytesOf(program / "welcome1.png");
    ASSERT_FALSE(libraryBefore.empty());

    ASSERT_EQ(run(kPictures, program), 0);
    EXPECT_TRUE(bytesOf(program / pictures::libraryPicturePath(1)) == libraryBefore);
    EXPECT_TRUE(bytesOf(program / "welcome1.png") == welcomeBefore);
    for (const auto& entry : fs::directory_iterator(program / "data")) {
        EXPECT_NE(entry.path().filename().string().substr(0, 2), "gl") << entry.path();
    }
}

TEST_F(MakePicturesTest, MissingDrawingFailsTheRunBeforeAnyPictureIsWritten) {
    const fs::path pictures = root_ / "pictures";
    fs::create_directories(pictures / "fluent");
    fs::copy_file(kPictures / "fluent" / "fox.svg", pictures / "fluent" / "fox.svg");
    std::ofstream(pictures / "animals.tsv")
        << "# number\tdrawing\ttitle\tscene\n1\tfox\tЛиса\tmeadow\n2\tnobody\tНикто\tmeadow\n";

    const fs::path program = root_ / "program";
    EXPECT_NE(run(pictures, program), 0);
    EXPECT_FALSE(fs::exists(program / pictures::libraryPicturePath(1)));
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
