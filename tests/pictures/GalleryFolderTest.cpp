// The child's slots in the user's own folder: seeded from the gallery that comes
// with the program, never overwritten, and the one place the windows read and save.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "pictures/core/GalleryFolder.h"
#include "tests/app/AppHarness.h"
#include "tests/pictures/ProgramFolder.h"

namespace fs = std::filesystem;
using namespace pictures;
using testing_support::AppHarness;
using testing_support::ProgramFolder;

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) previous_ = old;
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (previous_) {
            ::setenv(name_, previous_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> previous_;
};

struct GalleryFolderTest : ::testing::Test, AppHarness {
    ProgramFolder folder;  // the program's folder, with the starting gallery in data/
    fs::path user = folder.root() / "home" / "pyatnushki";

    GalleryFolderTest() {
        for (int slot = 0; slot <= 35; ++slot) {
            ProgramFolder::writeBytes(initialGalleryPath(slot), "Slot " + std::to_string(slot) + "\r\n 0 \r\n 0 \r\n");
        }
    }
    ~GalleryFolderTest() override { useGalleryFolder("data"); }
    std::string slotBytes(int slot) const { return ProgramFolder::readBytes(user / ("gl " + std::to_string(slot) + ".mac")); }
};

}  // namespace

TEST_F(GalleryFolderTest, FirstStartCopiesEverySlotAndLaterStartsKeepWhatTheChildSaved) {
    ASSERT_FALSE(seedGallery("data", user));
    for (int slot = 0; slot <= 35; ++slot) {
        EXPECT_EQ(slotBytes(slot), ProgramFolder::readBytes(initialGalleryPath(slot))) << slot;
    }
    ProgramFolder::writeBytes(user / "gl 5.mac", platform::utf8ToCp1251("Кошка, моя\r\n 1 \r\n 1 \r\n 255 \r\n"));
    const std::string saved = slotBytes(5);
    fs::remove(user / "gl 7.mac");
    // A reinstall brings other starting pictures; a second start seeds again.
    ProgramFolder::writeBytes(initialGalleryPath(5), platform::utf8ToCp1251("Новая\r\n 0 \r\n 0 \r\n"));
    ASSERT_FALSE(seedGallery("data", user));
    EXPECT_EQ(slotBytes(5), saved) << "a saved slot is never replaced";
    EXPECT_EQ(slotBytes(7), ProgramFolder::readBytes(initialGalleryPath(7))) << "a missing slot comes back";
    for (const auto& entry : fs::directory_iterator(user)) {
        EXPECT_EQ(entry.path().extension(), ".mac") << entry.path() << " left behind";
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(user), fs::directory_iterator()), 36);
}

TEST_F(GalleryFolderTest, AFolderThatCannotBeMadeIsToldInWords) {
    ProgramFolder::writeBytes(folder.root() / "home", "a file where the folder should be");
    const auto error = seedGallery("data", user);
    ASSERT_TRUE(error);
    EXPECT_NE(error->message.find("Не удалось подготовить папку для рисунков"), std::string::npos) << error->message;
    EXPECT_NE(error->message.find(user.string()), std::string::npos) << error->message;
    EXPECT_NE(error->message.find("на месте папки лежит файл"), std::string::npos) << error->message;
    EXPECT_NE(error->message.find("Раскрашивать можно"), std::string::npos) << error->message;
}

TEST_F(GalleryFolderTest, TheUsersFolderFollowsTheDesktopsDataHome) {
    {
        const ScopedEnv data("XDG_DATA_HOME", "/srv/family/data");
        EXPECT_EQ(userGalleryFolder(), fs::path("/srv/family/data/pyatnushki"));
    }
    const ScopedEnv home("HOME", "/home/masha");
    for (const char* unusable : {"relative/data", "", static_cast<const char*>(nullptr)}) {
        const ScopedEnv data("XDG_DATA_HOME", unusable);
        EXPECT_EQ(userGalleryFolder(), fs::path("/home/masha/.local/share/pyatnushki")) << (unusable ? unusable : "unset");
    }
    const ScopedEnv noData("XDG_DATA_HOME", nullptr);
    const ScopedEnv noHome("HOME", nullptr);
    EXPECT_EQ(userGalleryFolder(), std::nullopt);
}

TEST_F(GalleryFolderTest, TheMainWindowSavesAndTheGalleryReadsInTheUsersFolder) {
    ASSERT_FALSE(seedGallery("data", user));
    useGalleryFolder(user);
    ProgramFolder::writeBytes(user / "gl 3.mac",
                              platform::utf8ToCp1251("Ёжик, мой\r\n 2 \r\n 2 \r\n 255 \r\n 255 \r\n-1 \r\n-1 \r\n"));
    const std::string initial = ProgramFolder::readBytes(initialGalleryPath(0));
    enterMainWindow();
    w.form1.Command5->click();  // "создать свой рисунок": slot 0
    w.form1.canvas.Picture1->setPixel(1, 1, platform::rgb(0, 0, 255));
    w.form1.Command3->click();  // "сохранить в галерею рисунков"
    EXPECT_TRUE(fakes.message.shown.empty()) << fakes.message.shown.front();
    EXPECT_NE(slotBytes(0), ProgramFolder::readBytes(initialGalleryPath(0)));
    EXPECT_EQ(ProgramFolder::readBytes(initialGalleryPath(0)), initial) << "the starting gallery is only read";

    w.form1.Command4->click();  // "галерея рисунков"
    EXPECT_EQ(w.form6.List1->item(3), "Ёжик");
    w.form6.List1->setListIndex(3);
    EXPECT_EQ(w.form6.Picture1->pixel(0, 1), platform::rgb(255, 0, 0));
}
