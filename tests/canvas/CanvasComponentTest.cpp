// The drawing component in its two windows: the palette, the selection, colouring
// window elements, and presses and strokes on the canvas through the widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>

#include "platform/core/Sounds.h"
#include "tests/app/AppHarness.h"

using namespace platform;
using canvas::CanvasComponent;
using testing_support::AppHarness;

namespace {

struct CanvasComponentTest : ::testing::Test, AppHarness {
    CanvasComponentTest() {
        desktop.stage().show();
        enterMainWindow();
    }
    CanvasComponent& main() { return w.form1.canvas; }
    CanvasComponent& tale() {
        if (!w.form17.visible()) w.form17.show();
        return w.form17.canvas;
    }
    static void click(Control& control, QPoint at = {3, 3}) { QTest::mouseClick(control.widget(), Qt::LeftButton, {}, at); }
    static void pressCanvas(CanvasComponent& c, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(c.Picture1->widget(), button, {}, QPoint(x, y));
        QTest::mouseRelease(c.Picture1->widget(), button, {}, QPoint(x, y));
    }
    static void dragCanvas(CanvasComponent& c, int x, int y, Qt::MouseButtons held) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), c.Picture1->widget()->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                         held, Qt::NoModifier);
        QApplication::sendEvent(c.Picture1->widget(), &move);
    }
    // A press on a spot of the window that no control covers, through the stage.
    void pressBackground(Form& form, QPoint at) {
        Stage& stage = desktop.stage();
        const QPoint client = form.clientWidget()->mapTo(form.clientWidget()->window(), QPoint(0, 0));
        const QPointF scene = form.clientWidget()->window()->graphicsProxyWidget()->mapToScene(QPointF(client + at));
        QTest::mouseClick(stage.viewport(), Qt::LeftButton, {}, stage.mapFromScene(scene));
    }
};

}  // namespace

TEST_F(CanvasComponentTest, PaletteHasItsColoursInTheirGridAndThePensTheirFrameInBothWindows) {
    struct Expect {
        CanvasComponent* c;
        int left, top;
    };
    for (Expect e : {Expect{&main(), 808, 32}, Expect{&tale(), 904, 64}}) {
        EXPECT_EQ(e.c->Picture2(1).bounds(), (Bounds{e.left + 240, e.top, 73, 73})) << "1 is column 4, row 1";
        EXPECT_EQ(e.c->Picture2(14).bounds(), (Bounds{e.left + 160, e.top + 7 * 96, 73, 73}));
        EXPECT_EQ(e.c->Picture2(16).bounds(), (Bounds{e.left, e.top, 73, 73}));
        EXPECT_EQ(e.c->Picture2(31).bounds(), (Bounds{e.left + 80, e.top + 7 * 96, 73, 73}));
        for (int i = 0; i < 32; ++i) EXPECT_EQ(e.c->Picture2(i).backColour(), canvas::kPalette[std::size_t(i)]) << i;
        EXPECT_EQ(e.c->Picture2(12).backColour(), rgb(0, 0, 255));
        for (int pen : canvas::kPenIndexes) EXPECT_EQ(e.c->Picture4(pen).widget()->toolTip(), QString::fromUtf8("карандаш"));
        EXPECT_EQ(e.c->Picture5->backColour(), kDefaultControlColour);
        // The frame behind the pencil and the pens shows its border, over the palette's panel too.
        const Bounds frame = e.c->Shape4->bounds();
        const QImage shot = e.c->Shape4->widget()->parentWidget()->grab().toImage();
        EXPECT_LT(qGray(shot.pixel(frame.left + frame.width / 2, frame.top)), 100) << "top edge";
        EXPECT_LT(qGray(shot.pixel(frame.left + frame.width - 1, frame.top + frame.height / 2)), 100) << "right edge";
    }
}

TEST_F(CanvasComponentTest, SwatchesAndToolButtonsOnlySelectAndKeepTheFirstShapePoint) {
    CanvasComponent& c = main();
    click(c.Picture2(12));
    EXPECT_EQ(c.state().CurrentColor, rgb(0, 0, 255));
    click(*c.Command10);
    EXPECT_EQ(c.state().CurrentColor, canvas::CircleTool);
    pressCanvas(c, 100, 100);
    EXPECT_EQ(c.state().ShapeStep, 1);
    click(c.Picture2(3));
    click(c.Picture4(4321));
    EXPECT_EQ(c.state().CurrentColor, canvas::RedPen);
    click(*c.Command11);
    EXPECT_EQ(c.state().CurrentColor, canvas::RectangleTool);
    EXPECT_EQ(c.state().ShapeStep, 1);
    for (int y = 0; y < c.Picture1->drawableHeight(); y += 50)
        for (int x = 0; x < c.Picture1->drawableWidth(); x += 50) ASSERT_EQ(c.Picture1->pixel(x, y), kWhite);
}

TEST_F(CanvasComponentTest, ShapeColourSwatchTakesTheSelectionAsAColour) {
    CanvasComponent& c = main();
    const std::pair<int, ColourNumber> pens[] = {
        {0, rgb(175, 255, 1)}, {1234, rgb(129, 4, 2)}, {4321, rgb(144, 16, 2)}};
    for (auto [pen, colour] : pens) {
        click(c.Picture4(pen));
        click(*c.Picture5);
        EXPECT_EQ(c.Picture5->backColour(), colour) << pen;
    }
    click(*c.Command10);
    click(*c.Picture5);
    EXPECT_EQ(c.Picture5->backColour(), rgb(144, 16, 2)) << "a shape tool is no colour: the swatch keeps its own";
    pressCanvas(c, 200, 200);
    pressCanvas(c, 210, 200);
    EXPECT_EQ(c.Picture1->pixel(210, 200), rgb(144, 16, 2)) << "circles are drawn in the swatch's colour";
}

TEST_F(CanvasComponentTest, EmptySelectionColoursElementsBlackAndEachWindowColoursItsOwnElements) {
    pressBackground(w.form1, {500, 960});  // inside the window's frame shape
    EXPECT_EQ(w.form1.backColour(), kBlack);

    CanvasComponent& c = main();
    click(c.Picture2(8));
    QTest::mouseClick(w.form1.Label2->widget(), Qt::LeftButton);
    EXPECT_EQ(w.form1.Label2->foreColour(), rgb(0, 255, 0));
    click(*c.Label5);
    EXPECT_EQ(c.Label5->backColour(), rgb(0, 255, 0));
    EXPECT_EQ(c.Shape1->fillColour(), rgb(0, 255, 0));
    click(*c.Command11);
    click(*c.Label5);
    EXPECT_EQ(c.Label5->backColour(), rgb(0, 255, 0)) << "a shape tool leaves the element as it is";

    w.form1.Command7->click();
    w.form10.Command1(0).click();
    CanvasComponent& t = tale();
    click(t.Picture2(2));
    pressBackground(w.form17, {850, 500});
    EXPECT_EQ(w.form17.backColour(), rgb(255, 0, 0));
    EXPECT_EQ(w.form1.backColour(), kBlack) << "the main window keeps its own";
    QTest::mouseClick(w.form17.Label1->widget(), Qt::LeftButton);
    QTest::mouseClick(w.form17.Label2->widget(), Qt::LeftButton);
    EXPECT_EQ(w.form17.Label1->foreColour(), rgb(255, 0, 0));
    EXPECT_EQ(w.form17.Label2->foreColour(), rgb(255, 0, 0));
}

TEST_F(CanvasComponentTest, EveryCanvasPressSendsTheCueFirstAndAFillColoursTheArea) {
    CanvasComponent& c = main();
    click(c.Picture2(12));
    fakes.multimedia.commands.clear();
    pressCanvas(c, 300, 300, Qt::RightButton);
    ASSERT_EQ(fakes.multimedia.commands, std::vector<std::string>{platform::sounds::kCanvasPress});
    EXPECT_EQ(c.Picture1->pixel(300, 300), rgb(0, 0, 255));
    EXPECT_EQ(c.Picture1->pixel(0, 300), kWhite);
    pressCanvas(c, 300, 300);  // changes nothing, still heard
    EXPECT_EQ(count(platform::sounds::kCanvasPress), 2);

    Harness::settle();
    const QImage shown = c.Picture1->widget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(300, 300), QColor(0, 0, 255)) << "the canvas shows the fill at once";
}

TEST_F(CanvasComponentTest, PenStrokesFollowTheLeftButtonOnly) {
    CanvasComponent& c = main();
    click(c.Picture4(1234));
    pressCanvas(c, 50, 50);
    EXPECT_EQ(c.Picture1->pixel(51, 51), kBlack);
    dragCanvas(c, 100, 100, Qt::LeftButton);
    EXPECT_EQ(c.Picture1->pixel(100, 100), rgb(0, 0, 255));
    dragCanvas(c, 200, 200, Qt::RightButton);
    dragCanvas(c, 210, 210, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(c.Picture1->pixel(200, 200), kWhite);
    EXPECT_EQ(c.Picture1->pixel(210, 210), kWhite);
}

TEST_F(CanvasComponentTest, TheTwoWindowsHaveIndependentCanvasesAndEveryTaleStartsAfresh) {
    CanvasComponent& m = main();
    click(m.Picture2(2));
    click(m.Picture4(0));
    click(*m.Picture5);
    pressCanvas(m, 10, 10);

    w.form1.Command7->click();
    w.form10.Command1(1).click();
    CanvasComponent& t = tale();
    EXPECT_FALSE(t.state().CurrentColor.has_value());
    EXPECT_EQ(t.Picture1->pixel(10, 10), kWhite);
    click(t.Picture2(27));
    click(*t.Command10);
    pressCanvas(t, 100, 100);
    click(t.Picture2(5));
    click(*t.Picture5);
    pressCanvas(t, 300, 300);
    EXPECT_EQ(t.Picture1->pixel(300, 300), rgb(128, 64, 64));
    EXPECT_EQ(m.state().CurrentColor, canvas::BlackPen) << "the main window's selection is its own";
    EXPECT_EQ(m.Picture1->pixel(300, 300), kWhite);

    w.form17.Command1->click();  // leave the tale; a new one starts afresh
    w.form1.Command7->click();
    w.form10.Command1(2).click();
    EXPECT_FALSE(t.state().CurrentColor.has_value());
    EXPECT_EQ(t.state().ShapeStep, 0);
    EXPECT_EQ(t.Picture5->backColour(), kDefaultControlColour);
    EXPECT_EQ(t.Picture1->pixel(300, 300), kWhite);
    EXPECT_EQ(m.Picture1->pixel(10, 10), kBlack) << "the main canvas kept its drawing";
}
