// The tale chooser and the tale window on fake services: choosing, reading page
// by page, printing each page, leaving early, and a print that fails.
#include <gtest/gtest.h>

#include <QTest>
#include <string>

#include "platform/core/Sounds.h"
#include "tales/core/TaleCatalogue.h"
#include "tests/app/AppHarness.h"

using namespace platform;
using testing_support::AppHarness;
using testing_support::zOrder;

namespace {

const ColourNumber kBlue = rgb(0, 0, 255);

std::string page(std::string_view number, int index) {
    return std::string(tales::core::findTale(number)->pages[static_cast<std::size_t>(index)]);
}

// Dark pixels of a sheet inside a rectangle of the window.
int ink(const QImage& sheet, const Bounds& area) {
    int dark = 0;
    for (int y = area.top; y < area.top + area.height; ++y)
        for (int x = area.left; x < area.left + area.width; ++x) dark += sheet.pixelColor(x, y).lightness() < 100;
    return dark;
}

struct TaleWindowTest : ::testing::Test, AppHarness {
    TaleWindowTest() {
        desktop.stage().show();
        enterMainWindow();
    }
    tales::Form17& tale() { return w.form17; }
    PictureBox& taleCanvas() { return *w.form17.canvas.Picture1; }
    PictureBox& mainCanvas() { return *w.form1.canvas.Picture1; }

    // " напечатать сказку", then the chooser's button for tale number k.
    void choose(int k) {
        w.form1.Command7->click();
        w.form10.Command1(k - 1).click();
    }
    void turnPage() { tale().Command2->click(); }
    static void fill(canvas::CanvasComponent& c, int x, int y, ColourNumber colour) {
        c.state().CurrentColor = colour;
        PictureBox& p = *c.Picture1;
        p.changed(c.state().press(p.pixels(), x, y, kBlack, p.width(), p.height()));
    }
    static void click(Control& control) { QTest::mouseClick(control.widget(), Qt::LeftButton, {}, QPoint(5, 5)); }
    // Counts pixels of the tale canvas that are not white, every row and column.
    int notWhite() {
        int count = 0;
        for (int y = 0; y < taleCanvas().drawableHeight(); ++y)
            for (int x = 0; x < taleCanvas().drawableWidth(); ++x) count += taleCanvas().pixel(x, y) != kWhite;
        return count;
    }
};

}  // namespace

TEST_F(TaleWindowTest, TheChooserListsTheCatalogueTopToBottomAndKeepsTheNumberHidden) {
    w.form1.Command7->click();
    EXPECT_EQ(fakes.multimedia.commands.back(), platform::sounds::kClick);
    EXPECT_TRUE(w.form10.visible());
    EXPECT_TRUE(w.form1.visible()) << "the main window stays up behind the chooser";
    EXPECT_GT(zOrder(w.form10), zOrder(w.form1));
    const auto tales = tales::core::allTales();
    ASSERT_EQ(tales.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(w.form10.Command1(i).caption(), tales[std::size_t(i)].caption);
        EXPECT_EQ(w.form10.Command1(i).top(), 184 + 64 * i);
    }
    EXPECT_EQ(w.form10.Command1(3).caption(), "Лиса и  тетерев");
    EXPECT_FALSE(w.form10.Label4->visible());
    EXPECT_EQ(w.form10.Label4->caption(), "3");
    EXPECT_EQ(w.form10.Label1->caption(), "Выбери сказку:");
}

TEST_F(TaleWindowTest, TaleTwoPrintsItsThreePagesAndTheThirdPressReturnsToTheMainWindow) {
    const int seeds = fakes.random.seeds;
    choose(2);
    EXPECT_EQ(fakes.random.seeds, seeds + 1) << "the tale window seeds the generator as it loads";
    EXPECT_FALSE(w.form10.visible());
    EXPECT_TRUE(w.form10.loaded()) << "the chooser keeps the number for the tale window";
    EXPECT_FALSE(w.form1.visible());
    EXPECT_EQ(w.form10.Label4->caption(), "2");
    ASSERT_TRUE(tale().visible());
    EXPECT_EQ(tale().Label5->caption(), "Лиса и кувшин");
    EXPECT_EQ(tale().Label1->caption(), page("2", 0));
    EXPECT_EQ(tale().PageCounter, 0);

    for (int press = 1; press <= 3; ++press) {
        fakes.multimedia.commands.clear();
        const std::string printed = tale().Label1->caption();
        turnPage();
        EXPECT_EQ(fakes.multimedia.commands.front(), platform::sounds::kClick);
        ASSERT_EQ(fakes.printer.sheets.size(), std::size_t(press));
        EXPECT_EQ(printed, page("2", press - 1)) << "press " << press << " prints the page that was shown";
        if (press < 3) {
            EXPECT_EQ(tale().PageCounter, press);
            EXPECT_EQ(tale().Label1->caption(), page("2", press));
        }
    }
    EXPECT_FALSE(tale().loaded());
    EXPECT_TRUE(w.form1.visible());
    EXPECT_TRUE(fakes.message.shown.empty());
}

TEST_F(TaleWindowTest, TaleFourShowsItsTitleWithOneBlank) {
    choose(4);
    EXPECT_EQ(tale().Label5->caption(), "Лиса и тетерев");
    EXPECT_EQ(tale().Label1->caption(), page("4", 0));
}

TEST_F(TaleWindowTest, APageTurnLeavesEveryPixelWhiteRowAndColumnZeroIncludedAndKeepsTheSelection) {
    choose(1);
    canvas::CanvasComponent& c = tale().canvas;
    fill(c, 300, 300, kBlue);
    c.state().CurrentColor = canvas::BlackPen;
    taleCanvas().changed(c.state().press(taleCanvas().pixels(), 0, 0, kBlack, taleCanvas().width(), taleCanvas().height()));
    ASSERT_EQ(taleCanvas().pixel(0, 0), kBlack) << "the pen's stamp reaches row 0 and column 0";
    ASSERT_EQ(taleCanvas().pixel(0, 1), kBlack);

    turnPage();
    EXPECT_EQ(notWhite(), 0);
    EXPECT_EQ(c.state().CurrentColor, canvas::BlackPen);
    EXPECT_EQ(taleCanvas().drawableWidth(), 784);
    EXPECT_EQ(taleCanvas().drawableHeight(), 751);
}

TEST_F(TaleWindowTest, TheSheetHoldsTheDrawingTitleAndTextAndTheCopyIsHiddenAfterwards) {
    choose(2);
    canvas::CanvasComponent& c = tale().canvas;
    fill(c, 400, 300, kBlue);
    c.state().CurrentColor = canvas::BlackPen;
    taleCanvas().changed(c.state().press(taleCanvas().pixels(), 0, 300, kBlack, 784, 751));
    ASSERT_EQ(taleCanvas().pixel(0, 300), kBlack);
    turnPage();
    ASSERT_EQ(fakes.printer.sheets.size(), 1u);
    const QImage& sheet = fakes.printer.sheets[0];
    ASSERT_EQ(sheet.size(), QSize(1280, 1024));
    EXPECT_EQ(sheet.pixelColor(8 + 400, 80 + 300), QColor(0, 0, 255)) << "the drawing";
    EXPECT_EQ(sheet.pixelColor(8 + 783, 80 + 750), QColor(0, 0, 255));
    // The copy leaves column 0 white where the canvas had the pen's stamp: the
    // sheet shows the copy, not the live canvas.
    EXPECT_EQ(sheet.pixelColor(8 + 0, 80 + 300), QColor(255, 255, 255));
    EXPECT_EQ(sheet.pixelColor(8 + 1, 80 + 300), QColor(0, 0, 0));
    EXPECT_GT(ink(sheet, {20, 22, 760, 52}), 200) << "the title, inside its box";
    EXPECT_GT(ink(sheet, {16, 848, 769, 153}), 200) << "the page text";
    EXPECT_NE(sheet.pixelColor(890, 944), QColor(128, 128, 255)) << "the progress bar is gone before the print";

    EXPECT_FALSE(tale().Picture3->visible());
    EXPECT_FALSE(tale().Shape->visible());
    EXPECT_EQ(tale().Shape->left() + tale().Shape->width(), 1240) << "the bar ended at the last tick mark";
    EXPECT_EQ(tale().Line1(21).x1(), 1240);
    EXPECT_EQ(tale().Picture3->drawableWidth(), 784) << "the copy takes the canvas's size";
    EXPECT_EQ(tale().Picture3->pixel(400, 300), kBlue);
}

TEST_F(TaleWindowTest, ASecondTaleStartsAtPageOneBlankWithNothingSelected) {
    choose(1);
    canvas::CanvasComponent& c = tale().canvas;
    c.Picture2(12).Click();
    c.Picture5->Click();
    ASSERT_EQ(c.Picture5->backColour(), kBlue);
    c.Command10->click();
    taleCanvas().changed(c.state().press(taleCanvas().pixels(), 100, 100, kBlue, 784, 751));
    ASSERT_EQ(c.state().ShapeStep, 1);
    fill(c, 500, 500, rgb(255, 0, 0));
    turnPage();
    fill(c, 500, 500, rgb(255, 0, 0));
    click(*tale().Command1);
    Harness::settle();

    choose(3);
    EXPECT_EQ(tale().Label5->caption(), "Петух и собака");
    EXPECT_EQ(tale().Label1->caption(), page("3", 0));
    EXPECT_EQ(tale().PageCounter, 0);
    EXPECT_EQ(notWhite(), 0);
    EXPECT_FALSE(c.state().CurrentColor.has_value());
    EXPECT_EQ(c.state().ShapeStep, 0);
    EXPECT_EQ(c.Picture5->backColour(), kDefaultControlColour);
}

TEST_F(TaleWindowTest, LeavingOnPageThreeOfTaleOnePrintsNothingAndTheMainCanvasIsAsItWas) {
    fill(w.form1.canvas, 300, 300, rgb(0, 192, 0));
    const ColourNumber before = mainCanvas().pixel(300, 300);
    choose(1);
    turnPage();
    turnPage();
    ASSERT_EQ(tale().Label1->caption(), page("1", 2));
    fill(tale().canvas, 10, 10, kBlue);
    fakes.multimedia.commands.clear();

    tale().Command1->click();
    EXPECT_EQ(fakes.printer.sheets.size(), 2u) << "only the two pages turned";
    EXPECT_TRUE(fakes.multimedia.commands.empty());
    EXPECT_FALSE(tale().loaded());
    EXPECT_TRUE(w.form1.visible());
    EXPECT_EQ(mainCanvas().pixel(300, 300), before);
    EXPECT_EQ(before, rgb(0, 192, 0));
}

TEST_F(TaleWindowTest, TheMainWindowsMusicKeepsGoingWhileATaleIsRead) {
    choose(5);
    const int before = count(platform::sounds::kPlayMusic);
    fakes.timers.advance(6 * 600);
    EXPECT_EQ(count(platform::sounds::kPlayMusic), before + 1);
    fakes.timers.advance(6 * 600);
    EXPECT_EQ(count(platform::sounds::kPlayMusic), before + 2);
}

TEST_F(TaleWindowTest, AFailedPrintSaysWhyAndKeepsThePageAndTheDrawing) {
    choose(2);
    fill(tale().canvas, 400, 300, kBlue);
    fakes.printer.failWith = "Рисунок не напечатан: в системе не выбран принтер по умолчанию.";
    bool copyHiddenDuringMessage = false;
    fakes.message.onMessage = [&](const std::string&) { copyHiddenDuringMessage = !tale().Picture3->visible(); };
    turnPage();
    EXPECT_EQ(fakes.message.shown, std::vector<std::string>{*fakes.printer.failWith});
    EXPECT_TRUE(copyHiddenDuringMessage) << "the canvas is back while the message is up";
    EXPECT_FALSE(tale().Shape->visible());
    EXPECT_TRUE(tale().visible());
    EXPECT_EQ(tale().PageCounter, 0);
    EXPECT_EQ(tale().Label1->caption(), page("2", 0));
    EXPECT_EQ(taleCanvas().pixel(400, 300), kBlue);
    EXPECT_EQ(taleCanvas().pixel(1, 1), kBlue);

    // Once the printer works again the same page goes out with its drawing.
    fakes.printer.failWith.reset();
    turnPage();
    ASSERT_EQ(fakes.printer.sheets.size(), 1u);
    EXPECT_EQ(fakes.printer.sheets[0].pixelColor(8 + 400, 80 + 300), QColor(0, 0, 255));
    EXPECT_EQ(tale().Label1->caption(), page("2", 1));
}

TEST_F(TaleWindowTest, WithANumberOfNoTaleTheDesignTextsStayAndPageTurnsOnlyPrint) {
    w.form10.Label4->setCaption(" 2");  // not exactly "2"
    tale().show();
    EXPECT_EQ(tale().Label5->caption(), "");
    EXPECT_EQ(tale().Label1->caption(), "466547457 ");
    for (int press = 1; press <= 7; ++press) turnPage();
    EXPECT_EQ(fakes.printer.sheets.size(), 7u);
    EXPECT_EQ(tale().PageCounter, 7);
    EXPECT_TRUE(tale().visible());
    EXPECT_EQ(tale().Label1->caption(), "466547457 ");
}

TEST_F(TaleWindowTest, TheTextsAndTheBackgroundTakeTheCurrentColour) {
    choose(1);
    canvas::CanvasComponent& c = tale().canvas;
    c.Picture2(2).Click();
    QTest::mousePress(tale().Label1->widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(tale().Label1->foreColour(), rgb(255, 0, 0));
    c.Picture4(1234).Click();
    QTest::mousePress(tale().Label2->widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(tale().Label2->foreColour(), canvas::BluePen);
    c.Picture2(9).Click();
    QTest::mousePress(tale().clientWidget(), Qt::LeftButton, {}, QPoint(850, 500));
    EXPECT_EQ(tale().backColour(), rgb(0, 192, 0));
}

TEST_F(TaleWindowTest, OpenLeaveAndOpenAgainThroughTheWidgets) {
    click(*w.form1.Command7);
    ASSERT_TRUE(w.form10.visible());
    click(w.form10.Command1(0));
    ASSERT_TRUE(tale().visible());
    EXPECT_EQ(tale().Label5->caption(), "Змея, лиса и обезьяна");
    click(*tale().Command2);
    EXPECT_EQ(tale().Label1->caption(), page("1", 1));
    click(*tale().Command1);
    Harness::settle();
    ASSERT_TRUE(w.form1.visible());
    EXPECT_FALSE(tale().loaded());

    click(*w.form1.Command7);
    ASSERT_TRUE(w.form10.visible());
    click(w.form10.Command1(4));
    Harness::settle();
    ASSERT_TRUE(tale().visible());
    EXPECT_EQ(tale().Label5->caption(), "Как лиса училась летать");
    EXPECT_EQ(tale().Label1->caption(), page("5", 0));
    EXPECT_EQ(fakes.printer.sheets.size(), 1u);
}

TEST_F(TaleWindowTest, AClickOnTheMainWindowBehindTheChooserBringsItForwardAndTheChooserWaits) {
    click(*w.form1.Command7);
    ASSERT_GT(zOrder(w.form10), zOrder(w.form1));
    Stage& stage = desktop.stage();
    // A free spot of the main window beside the chooser.
    QTest::mouseClick(stage.viewport(), Qt::LeftButton, {}, stage.mapFromScene(QPointF(1250, 1000)));
    EXPECT_GT(zOrder(w.form1), zOrder(w.form10));
    EXPECT_TRUE(w.form10.loaded());
    EXPECT_TRUE(w.form10.visible());

    click(*w.form1.Command7);
    EXPECT_GT(zOrder(w.form10), zOrder(w.form1)) << "the next \" напечатать сказку\" shows it again";
}

// Each page starts a fresh history: its drawing went to the printer and cannot
// be brought back onto the next page; a page that did not print keeps its own.
TEST_F(TaleWindowTest, APageTurnStartsAFreshHistoryButAFailedPrintKeepsIt) {
    choose(2);
    canvas::CanvasComponent& c = tale().canvas;
    fill(c, 100, 100, kBlue);
    fakes.printer.failWith = "Рисунок не напечатан.";
    turnPage();
    ASSERT_TRUE(c.history().canUndo());
    c.undo();
    EXPECT_EQ(taleCanvas().pixel(100, 100), kWhite) << "the page that did not print can still be undone";
    c.redo();
    fakes.printer.failWith.reset();
    turnPage();
    ASSERT_EQ(tale().PageCounter, 1);
    EXPECT_FALSE(c.history().canUndo());
    EXPECT_FALSE(c.history().canRedo());
    c.undo();
    EXPECT_EQ(notWhite(), 0) << "the printed drawing does not come back on the new page";
}

TEST_F(TaleWindowTest, ThePrintedSheetShowsNeitherTheUndoButtonNorTheChoiceFrame) {
    choose(1);
    canvas::CanvasComponent& c = tale().canvas;
    click(c.Picture2(1));  // black, framed
    ASSERT_TRUE(c.Frame->visible());
    const Bounds button = c.UndoButton->bounds();
    turnPage();
    ASSERT_EQ(fakes.printer.sheets.size(), 1u);
    const QImage& sheet = fakes.printer.sheets[0];
    EXPECT_EQ(ink(sheet, button), 0) << "the button's spot is blank on paper";
    const Bounds swatch = c.Picture2(1).bounds();
    EXPECT_EQ(ink(sheet, {swatch.left - 3, swatch.top + 20, 2, 20}), 0) << "no frame line beside the swatch";
    EXPECT_TRUE(c.UndoButton->visible()) << "back on screen after the print";
    EXPECT_TRUE(c.Frame->visible());
}
