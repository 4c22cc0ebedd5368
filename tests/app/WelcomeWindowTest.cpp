// The welcome window's animation: title letters and twinkling rays.
#include <gtest/gtest.h>

#include "tests/app/AppHarness.h"

using namespace platform;
using testing_support::AppHarness;

namespace {

struct WelcomeWindowTest : ::testing::Test, AppHarness {
    WelcomeWindowTest() { w.form5.show(); }
    // Scripts one letter's draw: which letter, then red, green and blue steps 0..6.
    void nextLetter(int index, int red, int green, int blue) {
        for (auto [value, of] : {std::pair{index, 18}, {red, 7}, {green, 7}, {blue, 7}}) nextDraw(value + 1, of);
    }
    std::pair<int, int> secondEnd(int ray) {
        const Line& line = w.form5.Line1(ray);
        return {line.x2(), line.y2()};
    }
};

}  // namespace

TEST_F(WelcomeWindowTest, TitleStartsInvisibleAndEachTickColoursOneLetter) {
    for (int i = 0; i < 18; ++i) {
        EXPECT_EQ(w.form5.Label1(i).foreColour(), rgb(0, 0, 255)) << i;
        EXPECT_EQ(w.form5.Label1(i).backColour(), rgb(0, 0, 255)) << i;
    }
    nextLetter(17, 0, 3, 6);
    fakes.timers.advance(10);
    EXPECT_EQ(w.form5.Label1(17).foreColour(), rgb(50, 155, 255)) << "the top step, 260, counts as 255";
    EXPECT_EQ(w.form5.Label1(16).foreColour(), rgb(0, 0, 255));
    nextLetter(0, 6, 6, 6);
    nextLetter(5, 0, 0, 0);
    fakes.timers.advance(20);
    EXPECT_EQ(w.form5.Label1(0).foreColour(), rgb(255, 255, 255));
    EXPECT_EQ(w.form5.Label1(5).foreColour(), rgb(50, 50, 50));
}

TEST_F(WelcomeWindowTest, RaysSwitchBetweenTheirTwoPositionsFourTimesASecond) {
    EXPECT_EQ(secondEnd(1), (std::pair{1000, 64})) << "the design position until the first tick";
    fakes.timers.advance(250);
    EXPECT_EQ(secondEnd(0), (std::pair{912, 16}));
    EXPECT_EQ(secondEnd(1), (std::pair{992, 64}));
    EXPECT_EQ(secondEnd(2), (std::pair{1128, 240}));
    fakes.timers.advance(250);
    EXPECT_EQ(secondEnd(0), (std::pair{992, 16}));
    EXPECT_EQ(secondEnd(3), (std::pair{1056, 192}));
    EXPECT_EQ(secondEnd(4), (std::pair{1024, 120}));
    EXPECT_EQ(w.form5.Line1(4).x1(), 1048) << "the fixed end stays";
    fakes.timers.advance(250);
    EXPECT_EQ(secondEnd(0), (std::pair{912, 16}));
}

TEST_F(WelcomeWindowTest, AnimationGoesOnBehindOtherWindowsAndShowingAgainDoesNotRestartIt) {
    fakes.timers.advance(250);
    w.form5.Command3->click();  // the about page hides the welcome window
    fakes.timers.advance(250);
    EXPECT_EQ(w.form5.rayPhase(), 0) << "two ticks while partly hidden";
    fakes.timers.advance(250);
    w.form7.Command1->click();
    EXPECT_EQ(w.form5.rayPhase(), 1) << "no new load, no reset";
    EXPECT_EQ(secondEnd(0), (std::pair{912, 16}));
}
