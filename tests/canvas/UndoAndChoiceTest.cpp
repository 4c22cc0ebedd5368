// Undo and redo through the windows (the round button and the keys), the frame
// around the current choice and the pointer over the canvas, in both windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "canvas/ToolImages.h"
#include "platform/core/Sounds.h"
#include "tests/app/AppHarness.h"
#include "tests/canvas/PixelAssert.h"
#include "tests/pictures/ProgramFolder.h"

using namespace platform;
using canvas::CanvasComponent;
using testing_support::AppHarness;
using testing_support::ProgramFolder;
using testing_support::samePixels;

namespace {

struct UndoAndChoiceTest : ::testing::Test, AppHarness {
    ProgramFolder folder;

    UndoAndChoiceTest() {
        // Picture 3: a black frame around two white areas split by a black line.
        ProgramFolder::writeLibrary(3, "Лиса", {"0000000000", "0111101110", "0111101110", "0000000000"});
        // The keys reach the window in front of an active stage, as on a desktop.
        desktop.stage().show();
        QApplication::setActiveWindow(&desktop.stage());
        EXPECT_TRUE(QTest::qWaitForWindowActive(&desktop.stage()));
        enterMainWindow();
    }
    CanvasComponent& main() { return w.form1.canvas; }
    CanvasComponent& tale() {
        if (!w.form17.visible()) {
            w.form1.Command7->click();
            w.form10.Command1(0).click();
        }
        return w.form17.canvas;
    }
    static void click(Control& control, QPoint at = {3, 3}) { QTest::mouseClick(control.widget(), Qt::LeftButton, {}, at); }
    static void pressCanvas(CanvasComponent& c, int x, int y) {
        QTest::mousePress(c.Picture1->widget(), Qt::LeftButton, {}, QPoint(x, y));
        QTest::mouseRelease(c.Picture1->widget(), Qt::LeftButton, {}, QPoint(x, y));
    }
    static void drag(CanvasComponent& c, int x, int y) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), c.Picture1->widget()->mapToGlobal(QPointF(x, y)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(c.Picture1->widget(), &move);
    }
    void keys(Qt::KeyboardModifiers modifiers, Qt::Key key) { QTest::keyClick(&desktop.stage(), key, modifiers); }
    void pressUndoButton(CanvasComponent& c) { click(*c.UndoButton, {24, 24}); }

    // Everything undo must leave as it is.
    struct Rest {
        std::optional<ColourNumber> current;
        int shapeStep, firstX, firstY;
        ColourNumber shapeColour;
        int pictureNumber;
        std::string title;
        bool clearEnabled;
        std::size_t sounds, messages;
        bool operator==(const Rest&) const = default;
    };
    Rest rest(CanvasComponent& c) {
        const auto& s = c.state();
        return {s.CurrentColor, s.ShapeStep, s.FirstX, s.FirstY, c.Picture5->backColour(), w.form1.PictureNumber,
                w.form1.Label2->caption(), w.form1.Command1->enabled(), fakes.multimedia.commands.size(),
                fakes.message.shown.size()};
    }
    std::vector<std::filesystem::path> files() const {
        std::vector<std::filesystem::path> out;
        for (const auto& e : std::filesystem::recursive_directory_iterator(folder.root())) out.push_back(e.path());
        return out;
    }
};

}  // namespace

// The first thing a new user does: a press with nothing chosen paints an area
// black, and that area can never be filled again. Undo gives it back.
TEST_F(UndoAndChoiceTest, ButtonAndKeysUndoAndRedoInBothWindowsAndLeaveEverythingElseAlone) {
    for (const bool inTale : {false, true}) {
        SCOPED_TRACE(inTale ? "tale window" : "main window");
        CanvasComponent* c = inTale ? &tale() : &main();  // the tale hides the main window
        const PixelBuffer blank = c->Picture1->pixels();
        pressCanvas(*c, 300, 300);
        ASSERT_EQ(c->Picture1->pixel(300, 300), kBlack);
        const PixelBuffer black = c->Picture1->pixels();
        // Some state that undo must not disturb: a colour, a first circle point.
        click(*c->Command10);
        pressCanvas(*c, 40, 50);
        click(c->Picture2(12));
        const Rest before = rest(*c);
        const auto filesBefore = files();

        pressUndoButton(*c);
        EXPECT_TRUE(samePixels(blank, c->Picture1->pixels())) << "undo button";
        keys(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
        EXPECT_TRUE(samePixels(black, c->Picture1->pixels())) << "Ctrl+Shift+Z";
        keys(Qt::ControlModifier, Qt::Key_Z);
        EXPECT_TRUE(samePixels(blank, c->Picture1->pixels())) << "Ctrl+Z";
        keys(Qt::ControlModifier, Qt::Key_Y);
        EXPECT_TRUE(samePixels(black, c->Picture1->pixels())) << "Ctrl+Y";
        EXPECT_EQ(rest(*c), before) << "no sound, no state, no title changed";
        EXPECT_EQ(files(), filesBefore);

        Harness::settle();
        keys(Qt::ControlModifier, Qt::Key_Z);
        Harness::settle();
        EXPECT_EQ(c->Picture1->widget()->grab().toImage().pixelColor(300, 300), QColor(Qt::white))
            << "the canvas shows the undo at once";
        EXPECT_EQ(c->state().ShapeStep, 1);
        pressCanvas(*c, 60, 50);  // the circle still completes from its first point
        EXPECT_NE(c->Picture1->pixel(60, 50), kWhite);
    }
}

TEST_F(UndoAndChoiceTest, TheKeysReachOnlyTheCanvasOfTheWindowInFront) {
    CanvasComponent& m = main();
    pressCanvas(m, 300, 300);
    CanvasComponent& t = tale();
    pressCanvas(t, 200, 200);
    keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(t.Picture1->pixel(200, 200), kWhite);
    EXPECT_EQ(m.Picture1->pixel(300, 300), kBlack) << "the hidden main window keeps its fill";
    w.form17.Command1->click();  // back to the main window
    w.form1.Command4->click();   // the gallery over it
    keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(m.Picture1->pixel(300, 300), kBlack) << "not while the gallery stands in front";
    w.form6.Command1->click();
    keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(m.Picture1->pixel(300, 300), kWhite);
}

TEST_F(UndoAndChoiceTest, AStrokeThroughTheWidgetsIsOneStepAndTheUndoButtonIsNoCanvasPress) {
    CanvasComponent& c = main();
    const PixelBuffer blank = c.Picture1->pixels();
    click(c.Picture4(4321));
    QTest::mousePress(c.Picture1->widget(), Qt::LeftButton, {}, QPoint(100, 100));
    for (int x = 100; x < 200; x += 3) drag(c, x, 100 + x / 10);
    QTest::mouseRelease(c.Picture1->widget(), Qt::LeftButton, {}, QPoint(200, 120));
    pressCanvas(c, 300, 300);  // a second stroke: only a dot
    EXPECT_EQ(c.history().undoSteps(), 2u);
    fakes.multimedia.commands.clear();
    pressUndoButton(c);
    pressUndoButton(c);
    EXPECT_TRUE(samePixels(blank, c.Picture1->pixels()));
    EXPECT_TRUE(fakes.multimedia.commands.empty()) << "no canvas-press cue for the button";
    pressUndoButton(c);  // nothing left: nothing happens
    EXPECT_TRUE(samePixels(blank, c.Picture1->pixels()));
}

TEST_F(UndoAndChoiceTest, ClearingAndANewOwnDrawingAreStepsButANewPictureStartsAFreshHistory) {
    CanvasComponent& c = main();
    nextDraw(3, 38);
    w.form1.Command2->click();
    ASSERT_EQ(w.form1.PictureNumber, 3);
    EXPECT_FALSE(c.history().canUndo());
    const PixelBuffer lines = c.Picture1->pixels();
    click(c.Picture2(2));
    pressCanvas(c, 2, 2);
    const PixelBuffer coloured = c.Picture1->pixels();

    w.form1.Command1->click();  // "очистка рисунка"
    EXPECT_TRUE(samePixels(lines, c.Picture1->pixels()));
    c.undo();
    EXPECT_TRUE(samePixels(coloured, c.Picture1->pixels())) << "the colouring comes back";
    EXPECT_EQ(w.form1.Label2->caption(), "Лиса");

    w.form1.Command5->click();  // "создать свой рисунок"
    EXPECT_EQ(c.Picture1->pixel(0, 1), kWhite);
    c.undo();
    EXPECT_TRUE(samePixels(coloured, c.Picture1->pixels()));
    EXPECT_EQ(w.form1.Label2->caption(), "Мой рисунок") << "undo leaves the title label alone";
    EXPECT_EQ(w.form1.PictureNumber, 0);
    c.redo();
    EXPECT_EQ(c.Picture1->pixel(0, 1), kWhite);

    nextDraw(3, 38);
    w.form1.Command2->click();
    EXPECT_FALSE(c.history().canUndo());
    EXPECT_FALSE(c.history().canRedo());
    c.undo();
    EXPECT_TRUE(samePixels(lines, c.Picture1->pixels())) << "nothing of the last picture is undone onto this one";
}

TEST_F(UndoAndChoiceTest, TheUndoButtonStandsAloneAboveTheCanvasInBothWindows) {
    for (const bool inTale : {false, true}) {
        CanvasComponent& c = inTale ? tale() : main();
        Form* form = inTale ? static_cast<Form*>(&w.form17) : static_cast<Form*>(&w.form1);
        const QRect button = c.UndoButton->widget()->geometry();
        for (QWidget* other : form->clientWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other == c.UndoButton->widget() || !other->isVisible()) continue;
            // The window's own frame shape is its background; every other control keeps clear.
            if (other->width() > 1000 && other->height() > 800) continue;
            EXPECT_FALSE(other->geometry().intersects(button)) << other->objectName().toStdString();
        }
    }
}

TEST_F(UndoAndChoiceTest, TheFrameFollowsEveryKindOfChoiceInBothWindows) {
    for (const bool inTale : {false, true}) {
        SCOPED_TRACE(inTale ? "tale window" : "main window");
        CanvasComponent* c = inTale ? &tale() : &main();  // the tale hides the main window
        EXPECT_FALSE(c->Frame->visible()) << "nothing is chosen at first";
        struct Choice {
            Control* control;
            int outset;
        };
        const Choice choices[] = {{&c->Picture2(16), 3}, {&c->Picture2(1), 3}, {&c->Picture2(12), 3},
                                  {&c->Picture2(31), 3}, {&c->Picture4(0), 3}, {&c->Picture4(1234), 3},
                                  {&c->Picture4(4321), 3}, {c->Command10.operator->(), 0},
                                  {c->Command11.operator->(), 0}};
        for (const Choice& choice : choices) {
            SCOPED_TRACE(choice.control->name());
            click(*choice.control);
            ASSERT_TRUE(c->Frame->visible());
            EXPECT_EQ(c->Frame->framed(), choice.control->bounds());
            Harness::settle();
            // On screen: a white line outermost and black within it, whatever the
            // swatch's colour (white 16, black 1 included).
            const QImage shown = c->Frame->widget()->parentWidget()->grab().toImage();
            const Bounds b = choice.control->bounds();
            const int outer = b.left - choice.outset, middle = b.top + b.height / 2;
            EXPECT_EQ(shown.pixelColor(outer, middle), QColor(Qt::white));
            EXPECT_EQ(shown.pixelColor(outer + 1, middle), QColor(Qt::black));
            EXPECT_EQ(shown.pixelColor(outer + 2, middle), QColor(Qt::black));
            EXPECT_EQ(shown.pixelColor(b.left + b.width + choice.outset - 1, middle), QColor(Qt::white));
        }
        click(c->Picture2(5));
        click(*c->Picture5);  // colouring an element is no choice: the frame stays
        EXPECT_EQ(c->Frame->framed(), c->Picture2(5).bounds());
    }
}

TEST_F(UndoAndChoiceTest, ThePointerOverTheCanvasShowsTheTool) {
    auto shown = [](CanvasComponent& c) { return c.Picture1->widget()->cursor(); };
    auto drawnFor = [](std::optional<ColourNumber> choice) { return canvas::toolCursor(choice).picture.toImage(); };
    for (const bool inTale : {false, true}) {
        SCOPED_TRACE(inTale ? "tale window" : "main window");
        CanvasComponent* c = inTale ? &tale() : &main();  // the tale hides the main window
        EXPECT_EQ(shown(*c).pixmap().toImage(), drawnFor(std::nullopt)) << "the bucket, pouring black";
        EXPECT_EQ(shown(*c).hotSpot(), QPoint(3, 29));
        struct Case {
            Control* control;
            ColourNumber choice;
            QPoint hotSpot;
        };
        const Case cases[] = {{&c->Picture2(12), canvas::kPalette[12], {3, 29}},
                              {&c->Picture4(1234), canvas::BluePen, {2, 30}},
                              {c->Command10.operator->(), canvas::CircleTool, {16, 16}},
                              {c->Command11.operator->(), canvas::RectangleTool, {16, 16}},
                              {&c->Picture4(0), canvas::BlackPen, {2, 30}},
                              {&c->Picture2(16), canvas::kPalette[16], {3, 29}}};
        QImage last;
        for (const Case& k : cases) {
            SCOPED_TRACE(k.control->name());
            click(*k.control);
            const QImage now = shown(*c).pixmap().toImage();
            EXPECT_EQ(now, drawnFor(k.choice));
            EXPECT_NE(now, last) << "each choice changes the pointer";
            EXPECT_EQ(shown(*c).hotSpot(), k.hotSpot);
            last = now;
        }
    }
    EXPECT_NE(drawnFor(canvas::kPalette[2]), drawnFor(canvas::kPalette[12])) << "the bucket pours the chosen colour";
}
