// What a press and a move do with each tool, on plain pixels.
#include <gtest/gtest.h>

#include <set>

#include "canvas/core/Drawing.h"
#include "canvas/core/ToolState.h"

using namespace canvas;
using platform::kBlack;
using platform::kWhite;
using platform::rgb;

namespace {

constexpr ColourNumber kBlue = rgb(0, 0, 255);
constexpr ColourNumber kRed = rgb(255, 0, 0);
constexpr ColourNumber kGrey = platform::kDefaultControlColour;

// The set of pixels of one colour.
std::set<std::pair<int, int>> pixelsOf(const PixelBuffer& p, ColourNumber colour) {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            if (p.pixel(x, y) == colour) out.insert({x, y});
    return out;
}

struct Press {
    ToolState tools;
    PixelBuffer pixels{60, 60};
    PixelRect at(double x, double y, ColourNumber shapeColour = kGrey) {
        return tools.press(pixels, x, y, shapeColour, pixels.width(), pixels.height());
    }
};

}  // namespace

TEST(PressTest, PositionsRoundHalfToEven) {
    const std::pair<double, int> cases[] = {{2.5, 2}, {3.5, 4}, {2.4999, 2}, {2.5001, 3}, {0.5, 0}, {-0.5, 0}, {7.0, 7}};
    for (auto [value, expected] : cases) EXPECT_EQ(roundHalfEven(value), expected) << value;
}

TEST(PressTest, EmptySelectionFillsWithBlackAndABlackAreaCannotBeFilledAgain) {
    Press p;
    p.at(10, 10);
    EXPECT_EQ(p.tools.TargetColor, kWhite);
    EXPECT_EQ(pixelsOf(p.pixels, kBlack).size(), 59u * 59u) << "all but column 0 and row 0";
    p.tools.CurrentColor = kBlue;
    EXPECT_TRUE(p.at(10, 10).empty());
    EXPECT_TRUE(pixelsOf(p.pixels, kBlue).empty());
}

TEST(PressTest, FillPaintsNothingOnBlackOnItsOwnColourOrInColumnZeroAndRowZero) {
    Press p;
    p.pixels.setPixel(5, 5, kBlack);
    p.tools.CurrentColor = kBlue;
    const std::pair<int, int> nothing[] = {{5, 5}, {0, 20}, {20, 0}};
    for (auto [x, y] : nothing) {
        EXPECT_TRUE(p.at(x, y).empty()) << x << "," << y;
        EXPECT_TRUE(pixelsOf(p.pixels, kBlue).empty()) << x << "," << y;
    }
    p.tools.CurrentColor = kWhite;
    EXPECT_TRUE(p.at(20, 20).empty()) << "white on white";
}

TEST(PenTest, PressLeavesABlackDotWhateverThePenAndMovesDrawInThePenColour) {
    for (auto [pen, colour] : {std::pair{BlackPen, kBlack}, {BluePen, kBlue}, {RedPen, kRed}}) {
        Press p;
        p.tools.CurrentColor = pen;
        p.at(20, 20);
        EXPECT_EQ(pixelsOf(p.pixels, kBlack), (std::set<std::pair<int, int>>{{20, 20}, {21, 20}, {20, 21}, {21, 21}}));
        p.pixels.fill(kWhite);
        p.tools.move(p.pixels, 1, 30, 30);
        std::set<std::pair<int, int>> stamp;
        for (int dy = -1; dy <= 2; ++dy)
            for (int dx = -1; dx <= 2; ++dx) stamp.insert({30 + dx, 30 + dy});
        EXPECT_EQ(pixelsOf(p.pixels, colour), stamp) << "pen " << pen;
    }
}

TEST(PenTest, OnlyTheLeftButtonAloneDrawsAndOnlyWithAPenSelected) {
    Press p;
    p.tools.CurrentColor = BluePen;
    for (int buttons : {0, 2, 3, 4, 5}) EXPECT_TRUE(p.tools.move(p.pixels, buttons, 30, 30).empty()) << buttons;
    for (ColourNumber other : {kBlue, CircleTool, RectangleTool}) {
        p.tools.CurrentColor = other;
        EXPECT_TRUE(p.tools.move(p.pixels, 1, 30, 30).empty());
    }
    p.tools.CurrentColor.reset();
    EXPECT_TRUE(p.tools.move(p.pixels, 1, 30, 30).empty());
    EXPECT_EQ(pixelsOf(p.pixels, kWhite).size(), 3600u);

    p.tools.CurrentColor = RedPen;
    p.at(40, 40);  // a right-button press still leaves the dot: the press ignores the button
    EXPECT_EQ(pixelsOf(p.pixels, kBlack).size(), 4u);
}

TEST(PenTest, StampsAtTheEdgeSetOnlyPixelsOnTheCanvas) {
    Press p;
    p.tools.CurrentColor = RedPen;
    EXPECT_EQ(p.tools.move(p.pixels, 1, 0, 0), (PixelRect{0, 0, 3, 3}));
    EXPECT_EQ(pixelsOf(p.pixels, kRed).size(), 9u);
    p.tools.move(p.pixels, 1, 59, 100);
    p.tools.move(p.pixels, 1, -30, 10);
    EXPECT_EQ(pixelsOf(p.pixels, kRed).size(), 9u);
}

TEST(PenTest, BlackLinesHoldTheFillWhileColouredLinesAreFilledOver) {
    Press p;
    p.tools.CurrentColor = BlackPen;
    for (int y = 0; y < 60; y += 2) p.tools.move(p.pixels, 1, 30, y);  // a wall at x 29..32
    p.tools.CurrentColor = kBlue;
    p.at(10, 10);
    EXPECT_EQ(p.pixels.pixel(40, 10), kWhite);
    EXPECT_EQ(p.pixels.pixel(10, 10), kBlue);

    Press q;
    q.tools.CurrentColor = RedPen;
    q.tools.move(q.pixels, 1, 30, 30);
    q.tools.CurrentColor = kBlue;
    q.at(30, 30);
    EXPECT_EQ(pixelsOf(q.pixels, kBlue).size(), 16u) << "the red stamp is filled";
}

TEST(CircleTest, RingHoldsExactlyThePixelsStrictlyBetweenNineAndElevenTenthsOfTheRadiusSquared) {
    struct Case {
        int dx, dy;
    };
    for (Case c : {Case{10, 0}, Case{1, 0}, Case{0, 7}, Case{13, 9}, Case{40, 40}}) {
        Press p;
        p.tools.CurrentColor = CircleTool;
        p.at(30, 30);
        p.at(30 + c.dx, 30 + c.dy, kRed);
        const double r2 = c.dx * c.dx + c.dy * c.dy;
        std::set<std::pair<int, int>> expected;
        for (int x = 1; x < 60; ++x)
            for (int y = 1; y < 60; ++y) {
                const double d = (x - 30) * (x - 30) + (y - 30) * (y - 30);
                if (r2 - r2 / 10 < d && d < r2 + r2 / 10) expected.insert({x, y});
            }
        EXPECT_EQ(pixelsOf(p.pixels, kRed), expected) << c.dx << "," << c.dy;
        EXPECT_EQ(p.tools.ShapeStep, 0);
    }
}

TEST(CircleTest, RadiusTenSetsDistancesNinetyOneToOneHundredNineAndRadiusOneTheFourNeighbours) {
    Press p;
    p.tools.CurrentColor = CircleTool;
    p.at(30, 30);
    p.at(40, 30, kRed);
    EXPECT_EQ(p.pixels.pixel(40, 30), kRed);
    EXPECT_EQ(p.pixels.pixel(37, 37), kRed);
    EXPECT_EQ(p.pixels.pixel(39, 30), kWhite);

    Press q;
    q.tools.CurrentColor = CircleTool;
    q.at(30, 30);
    q.at(31, 30, kRed);
    EXPECT_EQ(pixelsOf(q.pixels, kRed), (std::set<std::pair<int, int>>{{29, 30}, {31, 30}, {30, 29}, {30, 31}}));

    Press z;
    z.tools.CurrentColor = CircleTool;
    z.at(30, 30);
    EXPECT_TRUE(z.at(30, 30, kRed).empty()) << "radius 0 draws nothing";
    EXPECT_EQ(z.tools.ShapeStep, 0);
}

TEST(CircleTest, RingBeyondTheEdgeIsDrawnAsFarAsItLiesOnTheCanvasButNeverInColumnOrRowZero) {
    Press p;
    p.tools.CurrentColor = CircleTool;
    p.at(2, 2);
    p.at(2, 12, kRed);
    for (const auto& [x, y] : pixelsOf(p.pixels, kRed)) {
        EXPECT_GE(x, 1);
        EXPECT_GE(y, 1);
    }
    EXPECT_EQ(p.pixels.pixel(12, 2), kRed);
}

TEST(RectangleTest, OutlineHasTwoPixelEdgesWithTheTopEdgeAboveTheFirstRow) {
    PixelBuffer pixels(260, 200);
    drawRectangleOutline(pixels, 100, 100, 200, 150, kRed);
    std::set<std::pair<int, int>> expected;
    for (int x = 100; x <= 200; ++x)
        for (int y : {99, 100, 149, 150}) expected.insert({x, y});
    for (int y = 100; y <= 150; ++y)
        for (int x : {100, 101, 199, 200}) expected.insert({x, y});
    EXPECT_EQ(pixelsOf(pixels, kRed), expected);
}

TEST(RectangleTest, SecondPressNotStrictlyLowerRightDrawsNothingAndStartsAfresh) {
    for (auto [x, y] : {std::pair{20, 40}, {40, 20}, {30, 40}, {40, 30}, {30, 30}}) {
        Press p;
        p.tools.CurrentColor = RectangleTool;
        p.at(30, 30);
        EXPECT_TRUE(p.at(x, y, kRed).empty()) << x << "," << y;
        EXPECT_EQ(p.tools.ShapeStep, 0);
        p.at(10, 10);
        p.at(20, 20, kRed);
        EXPECT_EQ(p.pixels.pixel(10, 9), kRed) << "the next press began a new rectangle";
    }
}

TEST(ShapeTest, TheToolSelectedAtTheSecondPressDecidesAndFirstPointsSurviveOtherWork) {
    Press p;
    p.tools.CurrentColor = CircleTool;
    p.at(20, 20);
    p.tools.CurrentColor = kBlue;  // a palette click and a fill in between
    p.at(50, 50);
    p.tools.CurrentColor = RedPen;
    p.at(55, 5);
    p.pixels.fill(kWhite);  // a new picture
    EXPECT_EQ(p.tools.ShapeStep, 1);
    p.tools.CurrentColor = RectangleTool;
    p.at(30, 30, kRed);
    EXPECT_EQ(p.pixels.pixel(20, 19), kRed) << "a rectangle from the circle's first point";
    EXPECT_EQ(p.pixels.pixel(30, 30), kRed);

    p.at(10, 10);
    p.tools.CurrentColor = CircleTool;
    p.at(20, 10, kBlue);
    EXPECT_EQ(p.pixels.pixel(20, 10), kBlue) << "a circle from the rectangle's first point";
}
