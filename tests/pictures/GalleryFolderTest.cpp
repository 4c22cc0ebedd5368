// The child's slots in the user's own folder: only what the child saved is
// there, slots never saved read as the starting pictures made from the library,
// and the one place the windows read and save.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "pictures/core/EarlierStartingPictures.h"
#include "pictures/core/GalleryFolder.h"
#include "platform/core/Files.h"
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
    ProgramFolder folder;  // the program's folder, with the library in data/
    fs::path user = folder.root() / "home" / "pyatnushki";

    GalleryFolderTest() {
        for (int number = 1; number <= 35; ++number) {
            ProgramFolder::writeLibrary(number, "Зверь " + std::to_string(number), {"0210", "1011"});
        }
    }
    ~GalleryFolderTest() override { useGalleryFolder("data"); }
    std::string slotBytes(int slot) const { return ProgramFolder::readBytes(user / ("gl " + std::to_string(slot) + ".mac")); }
    std::vector<std::string> userFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(user)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

}  // namespace

TEST_F(GalleryFolderTest, AFreshFolderHoldsOnlyWhatTheChildSavedAndAMissingSlotIsItsStartingPicture) {
    ASSERT_FALSE(prepareGalleryFolder(user));
    useGalleryFolder(user);
    enterMainWindow();
    w.form1.Command4->click();  // "галерея рисунков"
    EXPECT_EQ(w.form6.List1->item(0), "Мой рисунок");
    EXPECT_EQ(w.form6.List1->item(7), "Зверь 7");
    for (int slot = 0; slot < kGallerySlots; ++slot) w.form6.List1->setListIndex(slot);
    ASSERT_TRUE(fakes.message.shown.empty()) << fakes.message.shown.front();
    // Slot 35's preview: the library picture on white, as a save of the canvas holding it writes it.
    EXPECT_EQ(w.form6.Picture1->width(), 4);
    EXPECT_EQ(w.form6.Picture1->pixel(0, 1), platform::kBlack);
    EXPECT_EQ(w.form6.Picture1->pixel(1, 1), platform::kWhite) << "a hole in the library shows the white page";
    EXPECT_EQ(w.form6.Picture1->pixel(3, 1), platform::kBlack);
    w.form6.Command2->click();  // "Редактировать"
    EXPECT_TRUE(userFiles().empty()) << "nothing is written before the child saves";

    fakes.timers.advance(600);
    w.form1.canvas.Picture1->setPixel(1, 1, platform::rgb(0, 0, 255));
    w.form1.Command3->click();  // "сохранить в галерею рисунков"
    EXPECT_EQ(userFiles(), std::vector<std::string>{"gl 35.mac"}) << "a save writes its one slot";
    const auto saved = readGallerySlot(35);
    ASSERT_TRUE(std::holds_alternative<GalleryPicture>(saved));
    EXPECT_EQ(std::get<GalleryPicture>(saved).cells[1], platform::rgb(0, 0, 255));

    fs::remove(user / "gl 35.mac");
    const auto back = readGallerySlot(35);
    ASSERT_TRUE(std::holds_alternative<GalleryPicture>(back));
    EXPECT_EQ(std::get<GalleryPicture>(back).title, "Зверь 35");
    EXPECT_EQ(std::get<GalleryPicture>(back).cells[1], platform::kWhite) << "a slot that went missing starts again";
    const auto blank = readGallerySlot(0);
    ASSERT_TRUE(std::holds_alternative<GalleryPicture>(blank));
    EXPECT_EQ(std::get<GalleryPicture>(blank).width, 696);
    EXPECT_EQ(std::get<GalleryPicture>(blank).height, 903);
}

TEST_F(GalleryFolderTest, AnUpgradeTakesOutOnlyUnchangedEarlierStartingPicturesAndCopyLeftovers) {
    fs::create_directories(user);
    const std::string unchanged = "Лиса\r\n 1 \r\n 1 \r\n 0 \r\n";
    const std::string changed = "Лиса\r\n 1 \r\n 1 \r\n 255 \r\n";  // the same size, coloured by the child
    ProgramFolder::writeBytes(user / "gl 1.mac", unchanged);
    ProgramFolder::writeBytes(user / "gl 2.mac", changed);
    ProgramFolder::writeBytes(user / "gl 3.mac", unchanged);  // slot 3 never started as this
    ProgramFolder::writeBytes(user / "gl 4.mac.1234.seed", "partial");
    ProgramFolder::writeBytes(user / "gl 5.mac.1234.seed", "a copy still under way");
    ProgramFolder::writeBytes(user / "notes.txt", unchanged);
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(user / "gl 4.mac.1234.seed", old);
    const std::string sum = platform::sha256OfFile(user / "gl 1.mac", 1000).value();
    const EarlierStartingPicture earlier[] = {{1, unchanged.size(), sum.c_str()}, {2, unchanged.size(), sum.c_str()}};

    ASSERT_FALSE(prepareGalleryFolder(user, earlier));
    EXPECT_EQ(userFiles(), (std::vector<std::string>{"gl 2.mac", "gl 3.mac", "gl 5.mac.1234.seed", "notes.txt"}));
    EXPECT_EQ(slotBytes(2), changed);
}

TEST_F(GalleryFolderTest, AFolderThatCannotBeMadeIsToldInWords) {
    ProgramFolder::writeBytes(folder.root() / "home", "a file where the folder should be");
    const auto error = prepareGalleryFolder(user);
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

TEST_F(GalleryFolderTest, TheGalleryReadsTheChildsSlotsInTheUsersFolder) {
    ASSERT_FALSE(prepareGalleryFolder(user));
    useGalleryFolder(user);
    ProgramFolder::writeBytes(user / "gl 3.mac",
                              platform::utf8ToCp1251("Ёжик, мой\r\n 2 \r\n 2 \r\n 255 \r\n 255 \r\n-1 \r\n-1 \r\n"));
    enterMainWindow();
    w.form1.Command4->click();  // "галерея рисунков"
    EXPECT_EQ(w.form6.List1->item(3), "Ёжик");
    EXPECT_EQ(w.form6.List1->item(4), "Зверь 4");
    w.form6.List1->setListIndex(3);
    EXPECT_EQ(w.form6.Picture1->pixel(0, 1), platform::rgb(255, 0, 0));
}
