// The gallery window over real slot files: the list, the preview, and taking a
// picture back to the main canvas.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QListWidget>
#include <QTest>

#include "canvas/CanvasComponent.h"
#include "pictures/Form6.h"
#include "pictures/core/PictureFiles.h"
#include "tests/app/AppHarness.h"
#include "tests/pictures/ProgramFolder.h"

using namespace platform;
using pictures::galleryPath;
using testing_support::AppHarness;
using testing_support::ProgramFolder;

namespace {

struct GalleryTest : ::testing::Test, AppHarness {
    ProgramFolder folder;

    // Slots 1..35 hold small pictures titled by their number; slot 5 a blue one.
    GalleryTest() {
        for (int k = 0; k <= 35; ++k) saveSlot(k, "Рисунок " + std::to_string(k), k == 5 ? rgb(0, 0, 255) : kWhite, 4, 3);
        enterMainWindow();
    }
    static void saveSlot(int k, const std::string& title, ColourNumber colour, int width, int height) {
        PixelBuffer pixels(width, height, colour);
        ASSERT_FALSE(pictures::saveGalleryPicture(galleryPath(k), title, pixels));
    }
    PictureBox& canvas() { return *w.form1.canvas.Picture1; }
    void openGallery() { w.form1.Command4->click(); }
};

}  // namespace

TEST_F(GalleryTest, ListShowsTheOwnDrawingFirstThenTheSlotTitlesUpToTheirFirstComma) {
    saveSlot(2, "Кот, рыжий", kWhite, 4, 3);
    std::filesystem::remove(galleryPath(7));
    openGallery();
    ASSERT_EQ(w.form6.List1->count(), 36);
    EXPECT_EQ(w.form6.List1->item(0), "Мой рисунок");
    EXPECT_EQ(w.form6.List1->item(1), "Рисунок 1");
    EXPECT_EQ(w.form6.List1->item(2), "Кот");
    EXPECT_EQ(w.form6.List1->item(7), "7 (рисунок не читается)")
        << "a slot with neither a file nor a library picture does not stop the gallery";
    EXPECT_TRUE(fakes.message.shown.empty());

    w.form6.List1->setListIndex(2);
    EXPECT_EQ(w.form1.Label2->caption(), "Кот, рыжий") << "the title label takes the whole line";
}

TEST_F(GalleryTest, ChoosingAnItemShowsItsPictureAndRetitlesTheMainWindowEvenWhenLeftWithExit) {
    openGallery();
    const int beeps = fakes.beep.count;
    w.form6.List1->setListIndex(5);
    EXPECT_EQ(w.form6.Picture1->drawableWidth(), 4);
    EXPECT_EQ(w.form6.Picture1->pixel(1, 1), rgb(0, 0, 255));
    EXPECT_EQ(w.form6.Picture1->pixel(1, 0), kWhite) << "row 0 is not stored";
    EXPECT_EQ(fakes.beep.count, beeps + 1);
    w.form6.Command1->click();
    EXPECT_EQ(w.form1.Label2->caption(), "Рисунок 5");
    EXPECT_EQ(canvas().pixel(1, 1), kWhite) << "the main canvas is untouched";
}

TEST_F(GalleryTest, SlotsOfBinaryBytesOrAPipeListAsUnreadableWithoutStallingTheGallery) {
    for (int k = 1; k <= 34; ++k) ProgramFolder::writeBytes(galleryPath(k), std::string(64 * 1024, '\0'));
    std::filesystem::remove(galleryPath(35));
    ASSERT_EQ(::mkfifo(galleryPath(35).c_str(), 0600), 0);  // opening it to read would wait for good
    openGallery();
    ASSERT_EQ(w.form6.List1->count(), 36);
    for (int k = 1; k <= 35; ++k) EXPECT_EQ(w.form6.List1->item(k), std::to_string(k) + " (рисунок не читается)");
    w.form6.List1->setListIndex(35);
    ASSERT_EQ(fakes.message.shown.size(), 1u);
    EXPECT_NE(fakes.message.shown[0].find("gl 35.mac» повреждён: это не обычный файл"), std::string::npos)
        << fakes.message.shown[0];
    w.form6.Command1->click();
}

TEST_F(GalleryTest, ADamagedSlotIsToldAndLeavesPreviewAndTitleAsTheyWere) {
    ProgramFolder::writeBytes(galleryPath(9), "Сломан\r\n 3\r\n 4\r\n 0 \r\nxyz\r\n");
    openGallery();
    w.form6.List1->setListIndex(5);
    w.form6.List1->setListIndex(9);
    ASSERT_EQ(fakes.message.shown.size(), 1u);
    EXPECT_NE(fakes.message.shown[0].find("gl 9.mac"), std::string::npos);
    EXPECT_EQ(w.form1.Label2->caption(), "Рисунок 5");
    EXPECT_EQ(w.form6.Picture1->pixel(1, 1), rgb(0, 0, 255));
}

TEST_F(GalleryTest, EditPutsThePictureOnTheMainCanvasAndHandsTheSlotOverHalfASecondLater) {
    w.form1.PictureNumber = 12;
    openGallery();
    w.form6.List1->setListIndex(5);
    w.form6.Command2->click();
    EXPECT_FALSE(w.form6.visible());
    EXPECT_TRUE(w.form6.loaded());
    EXPECT_TRUE(w.form1.visible());
    EXPECT_EQ(canvas().drawableWidth(), 4);
    EXPECT_EQ(canvas().pixel(1, 1), rgb(0, 0, 255));
    EXPECT_EQ(canvas().pixel(0, 1), kWhite) << "column 0 is not carried over";
    EXPECT_FALSE(w.form1.Command1->enabled());
    EXPECT_EQ(w.form1.Label3->caption(), "5");

    w.form1.Command3->click();  // within the half second: still the old slot
    EXPECT_TRUE(std::filesystem::exists(galleryPath(12)));
    fakes.timers.advance(500);
    EXPECT_EQ(w.form1.PictureNumber, 5);
    canvas().setPixel(2, 1, rgb(255, 0, 0));
    w.form1.Command3->click();
    auto back = pictures::readGalleryPicture(galleryPath(5));
    ASSERT_TRUE(std::holds_alternative<pictures::GalleryPicture>(back));
    EXPECT_EQ(std::get<pictures::GalleryPicture>(back).cells[2], rgb(255, 0, 0));

    openGallery();  // the hidden gallery comes back as it was, list unchanged
    EXPECT_EQ(w.form6.List1->listIndex(), 5);
    EXPECT_EQ(w.form6.List1->item(12), "Рисунок 12");
}

TEST_F(GalleryTest, EditWithNothingChosenHandsOverSlotMinusOne) {
    openGallery();
    w.form6.Command2->click();
    fakes.timers.advance(500);
    EXPECT_EQ(w.form1.PictureNumber, -1);
    EXPECT_EQ(canvas().drawableWidth(), 817) << "the blank preview's size";
}

// Leaving the gallery hides its list, and a hidden list tells of its row change;
// that must not bring the window back half-way through its unload.
TEST_F(GalleryTest, OpenedAndLeftTwentyTimesWithTheMouseOverItLeavesNothingBehind) {
    // An active stage, as on a desktop: the list takes the keyboard focus when clicked.
    desktop.stage().show();
    QApplication::setActiveWindow(&desktop.stage());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&desktop.stage()));
    for (int round = 0; round < 20; ++round) {
        openGallery();
        // Every other round an item is chosen as a child does, with a click; in the
        // others the gallery is only looked at.
        if (round % 2 == 1) {
            auto* list = qobject_cast<QListWidget*>(w.form6.List1->widget());
            ASSERT_NE(list, nullptr);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1 + round % 6)).center());
        }
        QWidget* preview = w.form6.Picture1->widget();
        ASSERT_NE(preview, nullptr);
        QTest::mouseMove(preview, QPoint(2, 2));
        w.form6.Command1->click();
        settle();
        EXPECT_FALSE(w.form6.loaded()) << "round " << round;
        EXPECT_EQ(w.form6.clientWidget(), nullptr) << "round " << round;
        ASSERT_TRUE(w.form1.visible());
        // Whatever stays on the stage must be a live window: a move over all of it touches each.
        for (QGraphicsItem* item : desktop.stage().scene()->items()) {
            if (auto* proxy = dynamic_cast<QGraphicsProxyWidget*>(item); proxy && proxy->isVisible()) {
                EXPECT_NE(proxy->widget()->objectName(), "Form6") << "round " << round;
            }
        }
    }
    openGallery();
    EXPECT_EQ(w.form6.List1->count(), 36);
    EXPECT_TRUE(fakes.message.shown.empty());
}

TEST_F(GalleryTest, EditAfterARefusedSlotEditsTheSlotStillInThePreview) {
    ProgramFolder::writeBytes(galleryPath(4), "Сломан\r\n 3\r\n 4\r\n 0 \r\nxyz\r\n");
    const std::string damaged = ProgramFolder::readBytes(galleryPath(4));
    openGallery();
    w.form6.List1->setListIndex(5);
    w.form6.List1->setListIndex(4);
    ASSERT_EQ(fakes.message.shown.size(), 1u);
    w.form6.Command2->click();
    fakes.timers.advance(500);
    EXPECT_EQ(w.form1.PictureNumber, 5) << "the picture in the preview is slot 5's";
    EXPECT_EQ(w.form1.Label3->caption(), "5");
    canvas().setPixel(1, 1, rgb(255, 0, 0));
    w.form1.Command3->click();
    EXPECT_EQ(ProgramFolder::readBytes(galleryPath(4)), damaged) << "the refused slot is never overwritten";
    auto back = pictures::readGalleryPicture(galleryPath(5));
    ASSERT_TRUE(std::holds_alternative<pictures::GalleryPicture>(back));
    EXPECT_EQ(std::get<pictures::GalleryPicture>(back).cells[1], rgb(255, 0, 0)) << "pixel (1, 1) is the first row's second cell";
}

TEST_F(GalleryTest, EditAfterOnlyRefusedSlotsDoesNothing) {
    ProgramFolder::writeBytes(galleryPath(4), "Сломан\r\n 3\r\n 4\r\n 0 \r\nxyz\r\n");
    w.form1.PictureNumber = 12;
    openGallery();
    const std::string handOver = w.form1.Label3->caption();
    w.form6.List1->setListIndex(4);
    w.form6.Command2->click();
    fakes.timers.advance(500);
    EXPECT_TRUE(w.form6.visible()) << "nothing to edit: the gallery stays";
    EXPECT_EQ(w.form1.PictureNumber, 12);
    EXPECT_EQ(w.form1.Label3->caption(), handOver);
}

// The list shows a small picture of each slot beside its title, made off the
// user-interface thread; the titles do not wait for them.
TEST_F(GalleryTest, PicturesAppearBesideTheTitlesAndChoosingStillWorks) {
    saveSlot(7, "Большой", rgb(255, 0, 0), 696, 903);
    saveSlot(5, "Рисунок 5", rgb(0, 0, 255), 64, 80);
    std::filesystem::remove(galleryPath(9));
    openGallery();
    ListBox& list = *w.form6.List1;
    ASSERT_EQ(list.count(), 36) << "every title is there at once";
    EXPECT_EQ(list.item(7), "Большой");
    for (int slot = 0; slot < 36; ++slot) {
        if (slot == 9) continue;
        EXPECT_TRUE(QTest::qWaitFor([&] { return list.hasItemPicture(slot); }, 10000)) << "slot " << slot;
    }
    settle();
    EXPECT_FALSE(list.hasItemPicture(9)) << "an unreadable slot has no picture, and the gallery still opens";
    EXPECT_TRUE(fakes.message.shown.empty());

    auto* widget = qobject_cast<QListWidget*>(list.widget());
    ASSERT_NE(widget, nullptr);
    const QImage red = widget->item(7)->icon().pixmap(widget->iconSize()).toImage();
    const QImage blue = widget->item(5)->icon().pixmap(widget->iconSize()).toImage();
    const QPoint middle(red.width() / 2, red.height() / 2);
    EXPECT_EQ(red.pixelColor(middle), QColor(255, 0, 0));
    EXPECT_EQ(blue.pixelColor(middle), QColor(0, 0, 255));

    const int beeps = fakes.beep.count;
    list.setListIndex(5);
    EXPECT_EQ(w.form1.Label2->caption(), "Рисунок 5");
    EXPECT_EQ(w.form6.Picture1->pixel(1, 1), rgb(0, 0, 255));
    EXPECT_EQ(fakes.beep.count, beeps + 1);
}

TEST_F(GalleryTest, ClosingTheGalleryWhilePicturesAreStillMadeIsSafe) {
    for (int k = 1; k <= 35; k += 2) saveSlot(k, "Большой " + std::to_string(k), rgb(k, 0, 0), 696, 903);
    for (int round = 0; round < 10; ++round) {
        openGallery();
        if (round % 2 == 1) settle();  // some pictures arrive, most are still being made
        w.form6.Command1->click();
        settle();
        EXPECT_FALSE(w.form6.loaded());
    }
    // Late pictures of closed rounds neither reopen the window nor reach the new list.
    QTest::qWait(300);
    EXPECT_FALSE(w.form6.loaded());
    openGallery();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.form6.List1->hasItemPicture(35); }, 10000));
    EXPECT_EQ(w.form6.List1->count(), 36);
}

TEST_F(GalleryTest, EditStartsAFreshHistoryOnTheMainCanvas) {
    canvas::CanvasComponent& c = w.form1.canvas;
    c.state().CurrentColor = rgb(0, 255, 0);
    canvas().changed(c.state().press(canvas().pixels(), 50, 50, kBlack, canvas().width(), canvas().height()));
    ASSERT_TRUE(c.history().canUndo());
    openGallery();
    w.form6.List1->setListIndex(5);
    w.form6.Command2->click();
    EXPECT_FALSE(c.history().canUndo());
    c.undo();
    EXPECT_EQ(canvas().pixel(1, 1), rgb(0, 0, 255)) << "the edited picture stays";
}

// The list's pictures show what the checked reader reads of a slot file,
// whatever the file holds, or nothing when it refuses the file.
TEST_F(GalleryTest, ListPicturesShowWhatTheCheckedReaderReads) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"plain", "Кот\r\n 2 \r\n 3 \r\n 255 \r\n 1 \r\n-1 \r\n 16711680 \r\n 0 \r\n 65280 \r\n"},
        {"numbers written otherwise", "Кот\r\n2\r\n3\r\n+255\r\n1.5\r\n  -1\r\n16711680.9\r\n0 \r\n65280\r\n"},
        {"LF line ends and no last line end", "Кот\n 2 \n 3 \n 255\n 1\n-1\n 16711680\n 0\n 65280"},
        {"a cell out of range", "Кот\r\n 1 \r\n 2 \r\n 255 \r\n 16777216 \r\n"},
        {"a cell too few", "Кот\r\n 2 \r\n 2 \r\n 255 \r\n 1 \r\n 0 \r\n"},
        {"a word for a cell", "Кот\r\n 1 \r\n 2 \r\n 255 \r\n red \r\n"},
        {"no header", "Кот"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolder::writeBytes(galleryPath(3), c.bytes);
        const QImage quick = pictures::galleryThumbnail(3);
        const auto read = pictures::readGalleryPicture(galleryPath(3));
        const auto* checked = std::get_if<pictures::GalleryPicture>(&read);
        ASSERT_EQ(quick.isNull(), checked == nullptr);
        if (!checked) continue;
        ASSERT_EQ(quick.width(), checked->width);
        ASSERT_EQ(quick.height(), checked->height);
        for (int y = 0; y < checked->height; ++y) {
            for (int x = 0; x < checked->width; ++x) {
                const ColourNumber cell = checked->cells[std::size_t(y * checked->width + x)];
                const ColourNumber shown = cell < 0 ? kWhite : cell;
                EXPECT_EQ(quick.pixelColor(x, y), QColor(redOf(shown), greenOf(shown), blueOf(shown))) << x << "," << y;
            }
        }
    }
}
