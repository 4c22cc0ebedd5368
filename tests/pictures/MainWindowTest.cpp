// The main window's commands with real picture files in a private program folder.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <regex>

#include "platform/core/Sounds.h"
#include "canvas/ProgressBar.h"
#include "pictures/core/PictureFiles.h"
#include "tests/app/AppHarness.h"
#include "tests/pictures/ProgramFolder.h"

using namespace platform;
using pictures::galleryPath;
using testing_support::AppHarness;
using testing_support::ProgramFolder;

namespace {

// Picture 3: a black frame around two white areas split by a black line, with a
// cell "2" (leave as it is) at pixel (3, 3) in the left area.
const std::vector<std::string> kPicture3 = {
    "0000000000", "0111101110", "0112101110", "0111101110", "0000000000", "1111111111",
};

struct MainWindowTest : ::testing::Test, AppHarness {
    ProgramFolder folder;
    PictureBox& canvas() { return *w.form1.canvas.Picture1; }

    MainWindowTest() {
        ProgramFolder::writeLibrary(3, "Лиса", kPicture3);
        enterMainWindow();
        fakes.multimedia.commands.clear();
    }
    void next(int draw) {
        nextDraw(draw, 38);
        w.form1.Command2->click();
    }
    void fillAt(int x, int y, int swatch) {
        w.form1.canvas.state().CurrentColor = canvas::kPalette[std::size_t(swatch)];
        w.form1.canvas.state().press(canvas().pixels(), x, y, kBlack, canvas().width(), canvas().height());
    }
    std::optional<pictures::GalleryPicture> slot(int k) {
        auto read = pictures::readGalleryPicture(galleryPath(k));
        if (auto* p = std::get_if<pictures::GalleryPicture>(&read)) return *p;
        return std::nullopt;
    }
};

}  // namespace

TEST_F(MainWindowTest, NextPictureLoadsALibraryPictureAtItsSizeWithItsTitle) {
    EXPECT_FALSE(w.form1.Command1->enabled());
    next(3);
    EXPECT_EQ(fakes.multimedia.commands, std::vector<std::string>{platform::sounds::kClick});
    EXPECT_EQ(w.form1.PictureNumber, 3);
    EXPECT_TRUE(w.form1.Command1->enabled());
    EXPECT_EQ(w.form1.Label2->caption(), "Лиса");
    EXPECT_EQ(canvas().drawableWidth(), 10);
    EXPECT_EQ(canvas().drawableHeight(), 6);
    EXPECT_EQ(canvas().pixel(0, 1), kBlack) << "the file's first row lands on pixel row 1";
    EXPECT_EQ(canvas().pixel(1, 2), kWhite);
    EXPECT_EQ(canvas().pixel(5, 0), kWhite) << "row 0 is never drawn";
    EXPECT_EQ(fakes.beep.count, 1);
    EXPECT_FALSE(w.form1.Shape3->visible()) << "the progress bar is hidden again";
}

TEST_F(MainWindowTest, AMissingOrDamagedPictureLeavesEverythingAsItWas) {
    next(3);
    fillAt(2, 2, 12);
    const int beeps = fakes.beep.count;
    for (const std::string& bytes : {std::string(), std::string("Кот\r\n 5\r\n"), std::string("Кот\r\n 100000\r\n 5\r\n")}) {
        if (!bytes.empty()) ProgramFolder::writeBytes(pictures::libraryPicturePath(7), bytes);
        fakes.message.shown.clear();
        next(7);
        ASSERT_EQ(fakes.message.shown.size(), 1u);
        EXPECT_NE(fakes.message.shown[0].find("data/ 7.mac"), std::string::npos) << fakes.message.shown[0];
        EXPECT_EQ(w.form1.PictureNumber, 3);
        EXPECT_EQ(w.form1.Label2->caption(), "Лиса");
        EXPECT_EQ(canvas().pixel(2, 2), rgb(0, 0, 255));
        EXPECT_EQ(canvas().drawableWidth(), 10);
        EXPECT_EQ(fakes.beep.count, beeps);
    }
}

TEST_F(MainWindowTest, ClearingDrawsTheLinesAgainOverTheColouringButLeavesHoles) {
    next(3);
    fillAt(2, 2, 12);
    ASSERT_EQ(canvas().pixel(3, 3), rgb(0, 0, 255)) << "the '2' cell was white and is filled too";
    canvas().setPixel(4, 0, rgb(255, 0, 0));
    w.form1.Label2->setCaption("другое");
    w.form1.Command1->click();
    EXPECT_EQ(canvas().pixel(2, 2), kWhite);
    EXPECT_EQ(canvas().pixel(3, 3), rgb(0, 0, 255)) << "a '2' cell keeps the child's colour";
    EXPECT_EQ(canvas().pixel(4, 0), rgb(255, 0, 0)) << "pixel row 0 is no cell's";
    EXPECT_EQ(w.form1.Label2->caption(), "Лиса");
}

TEST_F(MainWindowTest, SaveWritesTheCanvasAndTitleToTheCurrentSlot) {
    w.form1.Command3->click();  // before any picture: slot 0 with the hint as title
    auto own = slot(0);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->title, "Нажмите кнопку -->>");
    EXPECT_EQ(own->width, 696);
    EXPECT_EQ(own->height, 903);
    EXPECT_EQ(fakes.beep.count, 1);

    next(3);
    fillAt(7, 2, 2);
    w.form1.Command3->click();
    auto saved = slot(3);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->title, "Лиса");
    EXPECT_EQ(saved->cells[std::size_t(1 * 10 + 7)], rgb(255, 0, 0)) << "pixel (7, 2) is cell (8, 2)";

    w.form1.Command5->click();  // an own drawing
    EXPECT_EQ(w.form1.Label2->caption(), "Мой рисунок");
    EXPECT_EQ(w.form1.PictureNumber, 0);
    EXPECT_FALSE(w.form1.Command1->enabled());
    EXPECT_EQ(canvas().drawableWidth(), 10) << "the canvas keeps its size";
    EXPECT_EQ(canvas().pixel(7, 2), kWhite);
    w.form1.Command3->click();
    EXPECT_EQ(slot(0)->title, "Мой рисунок");
    EXPECT_EQ(slot(3)->title, "Лиса") << "slot 3 still holds the coloured picture";
}

TEST_F(MainWindowTest, EverySaveAlsoLeavesAPictureFileForTheFamilyThatNeverFailsTheSave) {
    next(3);
    fillAt(7, 2, 2);
    w.form1.Command3->click();
    w.form1.Command3->click();  // again within the minute: a second file
    ASSERT_TRUE(fakes.message.shown.empty()) << fakes.message.shown.front();
    const std::filesystem::path family = home.path() / "Pictures" / "Пятнушки";
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(family)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 2u);
    const std::regex named(R"(Лиса \d{4}-\d\d-\d\d \d\d\.\d\d( \(2\))?\.png)");
    for (const std::string& name : names) {
        EXPECT_TRUE(std::regex_match(name, named)) << name;
        const QImage png(QString::fromStdString((family / name).string()));
        ASSERT_EQ(png.size(), QSize(canvas().width(), canvas().height())) << name;
        for (int y = 0; y < png.height(); ++y) {
            for (int x = 0; x < png.width(); ++x) {
                const ColourNumber c = canvas().pixel(x, y);
                ASSERT_EQ(png.pixelColor(x, y), QColor(redOf(c), greenOf(c), blueOf(c))) << name << " " << x << "," << y;
            }
        }
    }

    std::filesystem::remove_all(home.path() / "Pictures");
    ProgramFolder::writeBytes(home.path() / "Pictures", "a file where the folder should be");
    w.form1.Command3->click();
    EXPECT_EQ(fakes.beep.count, 4) << "the slot is saved all the same (a beep for the load, one a save)";
    ASSERT_EQ(fakes.message.shown.size(), 1u);
    EXPECT_NE(fakes.message.shown[0].find("на месте папки лежит файл"), std::string::npos) << fakes.message.shown[0];
}

TEST_F(MainWindowTest, AFailedSaveSaysSoAndDoesNotBeep) {
    next(3);
    std::filesystem::remove_all("data");
    ProgramFolder::writeBytes("data", "a file where the folder should be");
    w.form1.Command3->click();
    ASSERT_EQ(fakes.message.shown.size(), 1u);
    EXPECT_NE(fakes.message.shown[0].find("gl 3.mac"), std::string::npos) << fakes.message.shown[0];
    EXPECT_EQ(fakes.beep.count, 1) << "only the load beeped";
}

TEST_F(MainWindowTest, AfterASurpriseClearAndSaveStillMeanThePictureOnTheCanvas) {
    next(3);
    fillAt(2, 2, 12);
    next(37);  // the arithmetic game
    EXPECT_EQ(w.form1.PictureNumber, 37);
    w.form3.pressCloseBox();
    next(36);
    w.form2.pressCloseBox();
    EXPECT_TRUE(w.form1.Command1->enabled());
    w.form1.Command3->click();
    EXPECT_FALSE(std::filesystem::exists(galleryPath(36)));
    EXPECT_FALSE(std::filesystem::exists(galleryPath(37)));
    ASSERT_TRUE(slot(3)) << "the save went to the picture's own slot";
    EXPECT_EQ(slot(3)->cells[std::size_t(1 * 10 + 2)], rgb(0, 0, 255));
    w.form1.Command1->click();
    EXPECT_TRUE(fakes.message.shown.empty()) << "no library picture 36..38 is ever read";
    EXPECT_EQ(canvas().pixel(2, 2), kWhite) << "picture 3 was cleared";

    w.form1.Command5->click();  // an own drawing, then a surprise: clearing has nothing to read
    next(38);
    w.form4.pressCloseBox();
    w.form1.Command1->click();
    EXPECT_TRUE(fakes.message.shown.empty());
    w.form1.Command3->click();
    EXPECT_EQ(slot(0)->title, "Мой рисунок");
}

TEST_F(MainWindowTest, PrintingShowsTheCopyWithTheTitleAndTakesItAwayHalfASecondLater) {
    // 40 x 60 and white, but for a black first column.
    ProgramFolder::writeLibrary(3, "Лиса", std::vector<std::string>(60, "0" + std::string(39, '1')));
    next(3);
    fillAt(5, 50, 12);
    fakes.multimedia.commands.clear();
    w.form1.Command6->click();
    EXPECT_EQ(fakes.multimedia.commands, std::vector<std::string>{platform::sounds::kClick});
    ASSERT_EQ(fakes.printer.sheets.size(), 1u);
    const QImage& sheet = fakes.printer.sheets[0];
    EXPECT_EQ(sheet.size(), QSize(1280, 1024));
    EXPECT_EQ(sheet.pixelColor(8 + 5, 8 + 50), QColor(0, 0, 255)) << "the copy shows the colouring";
    EXPECT_EQ(sheet.pixelColor(8 + 0, 8 + 50), QColor(255, 255, 255)) << "column 0 prints white";
    int ink = 0;  // the title "ПЯТНУШКИ" over the copy's top-left corner
    for (int y = 8; y < 8 + 33; ++y)
        for (int x = 8; x < 8 + 289; ++x) ink += sheet.pixelColor(x, y).lightness() < 100;
    EXPECT_GT(ink, 50);
    EXPECT_TRUE(w.form1.Picture3->visible());
    EXPECT_FALSE(w.form1.Text1->visible());
    EXPECT_EQ(w.form1.Picture3->pixel(5, 50), rgb(0, 0, 255));
    EXPECT_EQ(w.form1.Picture3->pixel(0, 50), kWhite);
    EXPECT_EQ(canvas().pixel(0, 50), kBlack) << "the canvas keeps its own column 0";

    fakes.timers.advance(499);
    EXPECT_TRUE(w.form1.Picture3->visible());
    fakes.timers.advance(1);
    EXPECT_FALSE(w.form1.Picture3->visible());
    EXPECT_EQ(w.form1.Label2->caption(), "Лиса");
    EXPECT_EQ(w.form1.PictureNumber, 3);
    EXPECT_TRUE(w.form1.Command1->enabled());
}

TEST_F(MainWindowTest, APictureLoadedWhileThePrintFinishesIsNotPaintedOver) {
    ProgramFolder::writeLibrary(4, "Слон", {"111", "101", "111"});
    next(3);
    fillAt(2, 2, 12);
    w.form1.Command6->click();
    next(4);
    fakes.timers.advance(500);
    EXPECT_EQ(w.form1.Label2->caption(), "Слон");
    EXPECT_EQ(canvas().pixel(1, 2), kBlack);
    EXPECT_EQ(canvas().pixel(2, 2), kWhite) << "the old print copy was not painted back";
}

TEST_F(MainWindowTest, APrinterFailureIsToldAndTheWindowComesBackAsAfterAPrint) {
    next(3);
    fakes.printer.failWith = "Принтер не найден.";
    bool copyShownDuringMessage = true;
    fakes.message.onMessage = [&](const std::string&) { copyShownDuringMessage = w.form1.Picture3->visible(); };
    w.form1.Command6->click();
    EXPECT_EQ(fakes.message.shown, std::vector<std::string>{"Принтер не найден."});
    EXPECT_FALSE(copyShownDuringMessage) << "the canvas is back at once, while the message is up";
    fakes.timers.advance(500);
    EXPECT_FALSE(w.form1.Picture3->visible());
    EXPECT_FALSE(w.form1.Text1->visible());
}

TEST_F(MainWindowTest, WebButtonOpensTheProgramsPageSilently) {
    w.form1.Command12->click();
    EXPECT_EQ(fakes.browser.opened, std::vector<std::string>{pictures::kMakerPage});
    EXPECT_TRUE(fakes.multimedia.commands.empty());
    EXPECT_EQ(w.form1.Command12->caption(), pictures::kMakerPage);
}

TEST_F(MainWindowTest, ProgressBarGrowsRowByRowFromItsLeftEdgeAndHidesWhenDone) {
    Shape& shape = *w.form1.Shape3;
    const Bounds idle = shape.bounds();
    {
        canvas::ProgressBar bar(shape, 5295);
        EXPECT_TRUE(shape.visible());
        bar.set(451, 903);
        EXPECT_EQ(shape.width(), 2644 / 15) << "row x full width / rows twips";
        bar.set(903, 903);
        EXPECT_EQ(shape.width(), 353);
        bar.set(1100, 1100, 2647);
        EXPECT_EQ(shape.width(), (5295 + 2647) / 15) << "a second phase starts where the first ended";
        EXPECT_EQ(shape.left(), idle.left);
    }
    EXPECT_FALSE(shape.visible());
}
