// Undo and redo on plain pixels: every kind of step comes back pixel for pixel,
// a stroke is one step, and the history keeps to its memory budget.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "canvas/core/History.h"
#include "canvas/core/ToolState.h"
#include "tests/canvas/PixelAssert.h"

using namespace canvas;
using platform::kBlack;
using platform::kWhite;
using platform::rgb;
using testing_support::samePixels;

namespace {

constexpr ColourNumber kBlue = rgb(0, 0, 255);
constexpr ColourNumber kRed = rgb(255, 0, 0);
constexpr ColourNumber kGreen = rgb(0, 255, 0);

// A canvas with a history, driven as the component drives it.
struct Canvas {
    History history;
    ToolState tools;
    PixelBuffer pixels;
    explicit Canvas(int width = 120, int height = 90, std::size_t budget = History::kBudgetBytes)
        : history(budget), pixels(width, height) {
        tools.history = &history;
    }
    void press(int x, int y, ColourNumber shapeColour = kGreen) {
        tools.press(pixels, x, y, shapeColour, pixels.width(), pixels.height());
    }
    void select(ColourNumber c) { tools.CurrentColor = c; }
    void stroke(std::initializer_list<std::pair<int, int>> points) {
        const auto first = *points.begin();
        press(first.first, first.second);
        for (auto [x, y] : points) tools.move(pixels, 1, x, y);
        tools.release(pixels);
    }
};

// Something to draw over: a frame of black lines, a blue pen line and a red area,
// so steps change pixels of several colours.
void drawPicture(PixelBuffer& p) {
    for (int x = 0; x < p.width(); ++x) p.setPixel(x, p.height() / 2, kBlack);
    for (int y = 0; y < p.height(); ++y) p.setPixel(p.width() / 3, y, kBlack);
    for (int y = 5; y < 20; ++y)
        for (int x = 5; x < 25; ++x) p.setPixel(x, y, kRed);
    for (int x = 50; x < 90; ++x) p.setPixel(x, 10 + x % 7, kBlue);
}

struct StepCase {
    const char* name;
    std::function<void(Canvas&)> step;
};

const StepCase kSteps[] = {
    {"fill of a white area", [](Canvas& c) { c.select(kGreen); c.press(60, 30); }},
    {"fill of a red area", [](Canvas& c) { c.select(kBlue); c.press(10, 10); }},
    {"fill with nothing selected", [](Canvas& c) { c.press(70, 70); }},
    {"fill over a blue pen line", [](Canvas& c) { c.select(kRed); c.press(50, 10 + 50 % 7); }},
    {"blue pen stroke",
     [](Canvas& c) {
         c.select(BluePen);
         c.stroke({{10, 10}, {12, 11}, {14, 12}, {40, 44}, {41, 45}, {118, 88}});
     }},
    {"black pen dot with the right button",
     [](Canvas& c) {
         c.select(BlackPen);
         c.press(30, 30);
         c.tools.release(c.pixels);
     }},
    {"circle across the edges",
     [](Canvas& c) {
         c.select(CircleTool);
         c.press(20, 40);
         c.press(55, 40);
     }},
    {"rectangle from the top row",
     [](Canvas& c) {
         c.select(RectangleTool);
         c.press(3, 0);
         c.press(100, 70);
     }},
    {"whole canvas cleared",
     [](Canvas& c) {
         c.history.touch(c.pixels, {0, 0, c.pixels.width(), c.pixels.height()});
         c.pixels.fill(kWhite);
         c.history.close(c.pixels);
     }},
};

}  // namespace

TEST(HistoryTest, EveryKindOfStepIsUndoneAndRedonePixelForPixel) {
    for (const StepCase& s : kSteps) {
        SCOPED_TRACE(s.name);
        Canvas c;
        drawPicture(c.pixels);
        const PixelBuffer before = c.pixels;
        s.step(c);
        const PixelBuffer after = c.pixels;
        ASSERT_FALSE(samePixels(before, after)) << "the step must change something";
        EXPECT_EQ(c.history.undoSteps(), 1u);

        const PixelRect undone = c.history.undo(c.pixels);
        EXPECT_TRUE(samePixels(before, c.pixels));
        EXPECT_FALSE(undone.empty());
        EXPECT_TRUE(c.history.canRedo());
        c.history.redo(c.pixels);
        EXPECT_TRUE(samePixels(after, c.pixels));
        c.history.undo(c.pixels);
        EXPECT_TRUE(samePixels(before, c.pixels)) << "a second undo after a redo";
        EXPECT_TRUE(c.history.undo(c.pixels).empty()) << "nothing older to undo";
        EXPECT_TRUE(samePixels(before, c.pixels));
    }
}

TEST(HistoryTest, UndoRestoresOnlyThePixelsTheStepChanged) {
    Canvas c;
    drawPicture(c.pixels);
    c.select(kGreen);
    c.press(60, 30);  // the white area right of the line, above the middle
    const PixelRect changed = c.history.undo(c.pixels);
    EXPECT_GE(changed.x, c.pixels.width() / 3 + 1) << "left of the black line nothing was filled";
    EXPECT_LE(changed.y + changed.height, c.pixels.height() / 2);
}

TEST(HistoryTest, AStrokeFromPressToReleaseIsOneStepAndTheNextPressStartsAnother) {
    Canvas c;
    c.select(RedPen);
    const PixelBuffer blank = c.pixels;
    c.press(10, 10);
    for (int x = 10; x < 100; x += 2) c.tools.move(c.pixels, 1, x, 10 + x / 4);
    c.tools.release(c.pixels);
    const PixelBuffer afterFirst = c.pixels;
    // A second stroke whose release never came: the next press ends it.
    c.press(20, 60);
    for (int y = 60; y < 80; ++y) c.tools.move(c.pixels, 1, 20, y);
    c.select(kBlue);
    c.press(110, 5);  // a fill over part of the first stroke's area
    EXPECT_EQ(c.history.undoSteps(), 3u);
    c.history.undo(c.pixels);
    c.history.undo(c.pixels);
    EXPECT_TRUE(samePixels(afterFirst, c.pixels));
    c.history.undo(c.pixels);
    EXPECT_TRUE(samePixels(blank, c.pixels));
}

TEST(HistoryTest, UndoInTheMiddleOfAStrokeEndsItAndUndoesAllOfIt) {
    Canvas c;
    c.select(BlackPen);
    const PixelBuffer blank = c.pixels;
    c.press(30, 30);
    c.tools.move(c.pixels, 1, 40, 40);
    EXPECT_TRUE(c.history.canUndo());
    c.history.undo(c.pixels);
    EXPECT_TRUE(samePixels(blank, c.pixels));
    EXPECT_FALSE(c.history.isOpen());
}

TEST(HistoryTest, PressesThatChangeNothingLeaveNoStep) {
    const StepCase nothing[] = {
        {"fill on black", [](Canvas& c) { c.select(kBlue); c.press(c.pixels.width() / 3, 5); }},
        {"fill with the area's own colour", [](Canvas& c) { c.select(kRed); c.press(10, 10); }},
        {"fill in row 0", [](Canvas& c) { c.select(kBlue); c.press(60, 0); }},
        {"first shape point", [](Canvas& c) { c.select(CircleTool); c.press(60, 30); }},
        {"circle of radius 0",
         [](Canvas& c) {
             c.select(CircleTool);
             c.press(60, 30);
             c.press(60, 30);
         }},
        {"rectangle up and to the left",
         [](Canvas& c) {
             c.select(RectangleTool);
             c.press(60, 30);
             c.press(50, 20);
         }},
        {"stroke with the right button only",
         [](Canvas& c) {
             c.select(BluePen);
             c.press(-10, -10);  // the dot falls off the canvas
             c.tools.move(c.pixels, 2, 40, 40);
             c.tools.release(c.pixels);
         }},
    };
    for (const StepCase& s : nothing) {
        SCOPED_TRACE(s.name);
        Canvas c;
        drawPicture(c.pixels);
        s.step(c);
        EXPECT_EQ(c.history.undoSteps(), 0u);
        EXPECT_EQ(c.history.bytes(), 0u);
    }
}

TEST(HistoryTest, ANewStepAfterAnUndoDropsWhatCouldBeRedone) {
    Canvas c;
    c.select(kBlue);
    c.press(60, 30);
    c.history.undo(c.pixels);
    ASSERT_TRUE(c.history.canRedo());
    c.select(kRed);
    c.press(60, 30);
    EXPECT_FALSE(c.history.canRedo());
    EXPECT_TRUE(c.history.redo(c.pixels).empty());
    EXPECT_EQ(c.pixels.pixel(60, 30), kRed);
}

TEST(HistoryTest, ClearingForgetsEverythingAndACanvasOfAnotherSizeHasNothingToUndo) {
    Canvas c;
    c.select(kBlue);
    c.press(60, 30);
    c.press(10, 80);
    c.history.clear();
    EXPECT_FALSE(c.history.canUndo());
    EXPECT_EQ(c.history.bytes(), 0u);

    c.select(kRed);
    c.press(60, 30);
    c.pixels.resize(40, 40, kWhite);  // resized behind the history's back
    EXPECT_TRUE(c.history.undo(c.pixels).empty());
    EXPECT_FALSE(c.history.canUndo());
    EXPECT_EQ(c.pixels.pixel(20, 20), kRed);
}

// A thousand fills on the design canvas, each repainting the same area in a
// colour of its own so that any state can be recognised.
void thousandFills(Canvas& c, int x, int y, bool mustDrop) {
    auto colourOf = [](int i) { return rgb(i % 200 + 20, i / 200 + 1, 7); };
    std::size_t most = 0;
    for (int i = 0; i < 1000; ++i) {
        c.select(colourOf(i));
        c.press(x, y);
        most = std::max(most, c.history.bytes());
    }
    EXPECT_LE(most, History::kBudgetBytes);
    const std::size_t kept = c.history.undoSteps();
    EXPECT_GE(kept, 100u) << "at least a hundred steps fit";
    if (mustDrop) {
        EXPECT_LT(kept, 1000u) << "the steps are large enough to reach the budget";
    }
    // Undoing every kept step leaves the canvas as the last dropped fill made it.
    while (c.history.canUndo()) c.history.undo(c.pixels);
    const ColourNumber expected = kept == 1000 ? kWhite : colourOf(static_cast<int>(999 - kept));
    EXPECT_EQ(c.pixels.pixel(x, y), expected) << kept << " steps kept";
}

TEST(HistoryTest, AThousandFillsOfTheBlankDesignCanvasAreAllKept) {
    Canvas c(696, 903);
    thousandFills(c, 300, 400, false);
    EXPECT_EQ(c.history.undoSteps(), 0u);
    EXPECT_EQ(c.pixels.pixel(695, 902), kWhite);
}

// Fills whose runs take more room than a bit per pixel of the whole canvas:
// black dots every 48th pixel of each row, shifted from row to row, so no two
// rows' segments are alike. Such steps reach the budget, and the oldest go first.
TEST(HistoryTest, AThousandLargeFillsKeepWithinTheBudgetAndDropTheOldestFirst) {
    Canvas c(696, 903);
    for (int y = 1; y < c.pixels.height(); ++y)
        for (int x = 1; x < c.pixels.width(); ++x)
            if ((x + 5 * y) % 48 == 0) c.pixels.setPixel(x, y, kBlack);
    PixelBuffer dotted = c.pixels;
    thousandFills(c, 1, 1, true);
    // Stored a bit per pixel, put back exactly: all but the dots in the one colour.
    const ColourNumber area = c.pixels.pixel(1, 1);
    for (int y = 1; y < dotted.height(); ++y)
        for (int x = 1; x < dotted.width(); ++x)
            if (dotted.pixel(x, y) == kWhite) dotted.setPixel(x, y, area);
    EXPECT_TRUE(samePixels(dotted, c.pixels));
}

TEST(HistoryTest, AStepLargerThanTheWholeBudgetIsNotKeptAndNothingOlderEither) {
    Canvas c(120, 90, 600);
    c.select(kBlue);
    c.press(10, 10);  // a small fill of the top-left area
    c.history.touch(c.pixels, {0, 0, 120, 90});
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x) c.pixels.setPixel(x, y, rgb(x, y, 0));  // no two neighbours alike
    c.history.close(c.pixels);
    EXPECT_FALSE(c.history.canUndo());
    EXPECT_LE(c.history.bytes(), 600u);
}

// A long random session checked against every canvas it went through: undo and
// redo must walk back and forth along exactly those states.
TEST(HistoryTest, RandomSessionsWalkBackAndForthThroughTheSameCanvases) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        Canvas c(64, 48);
        drawPicture(c.pixels);
        std::vector<PixelBuffer> states{c.pixels};
        std::size_t at = 0;  // states[at] is the canvas now
        const ColourNumber colours[] = {kRed, kBlue, kGreen, kWhite, kBlack, rgb(9, 99, 199)};
        for (int action = 0; action < 300; ++action) {
            const int kind = below(10);
            if (kind <= 1) {
                const bool undo = kind == 0;
                const PixelRect r = undo ? c.history.undo(c.pixels) : c.history.redo(c.pixels);
                if (undo && at > 0 && !r.empty()) --at;
                if (!undo && at + 1 < states.size() && !r.empty()) ++at;
                ASSERT_TRUE(samePixels(states[at], c.pixels)) << "action " << action;
                continue;
            }
            if (kind <= 4) {
                c.select(colours[below(6)]);
                c.press(below(64), below(48));
            } else if (kind <= 6) {
                c.select(PenCodeBase + kPenIndexes[static_cast<std::size_t>(below(3))]);
                c.press(below(64), below(48));
                for (int m = below(8); m > 0; --m) c.tools.move(c.pixels, below(3) == 0 ? 2 : 1, below(70) - 3, below(54) - 3);
                c.tools.release(c.pixels);
            } else {
                c.select(below(2) ? CircleTool : RectangleTool);
                c.press(below(64), below(48), colours[below(6)]);
            }
            if (samePixels(states[at], c.pixels)) continue;  // nothing changed, so no step
            states.resize(at + 1);
            states.push_back(c.pixels);
            ++at;
            ASSERT_EQ(c.history.undoSteps(), at) << "action " << action;
        }
    }
}
