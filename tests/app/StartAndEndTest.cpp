// The resolution gate of the three windows that check the screen, ending the
// program, and the sounds the shell sends.
#include <gtest/gtest.h>

#include "platform/core/ResolutionGate.h"
#include "platform/core/Sounds.h"
#include "tests/app/AppHarness.h"

using testing_support::AppHarness;

namespace {

struct GateCase {
    int width, height;
};

struct ResolutionGateTest : ::testing::TestWithParam<GateCase>, AppHarness {
    // Puts the fake screen at the wrong size; after three OKs the user fixes it.
    void screenFixedAfterThreeMessages(const std::function<void()>& whileUp) {
        fakes.screen.size = {GetParam().width, GetParam().height};
        fakes.message.onMessage = [this, whileUp](const std::string&) {
            whileUp();
            if (fakes.message.shown.size() == 3) fakes.screen.size = {1280, 1024};
        };
    }
    void expectThreeGateMessages() {
        ASSERT_EQ(fakes.message.shown.size(), 3u);
        for (const auto& text : fakes.message.shown) EXPECT_EQ(text, platform::kResolutionMessage);
    }
};

}  // namespace

TEST_P(ResolutionGateTest, WelcomeWindowStaysInvisibleUntilTheScreenIsRight) {
    screenFixedAfterThreeMessages([this] {
        EXPECT_FALSE(w.form5.visible());
        EXPECT_EQ(w.form5.rayPhase(), 0) << "the ray phase is set before the gate";
    });
    w.form5.show();
    expectThreeGateMessages();
    EXPECT_TRUE(w.form5.visible());
}

TEST_P(ResolutionGateTest, MainWindowDoesNothingOfItsLoadBeforeTheGatePasses) {
    w.form5.show();
    screenFixedAfterThreeMessages([this] {
        EXPECT_TRUE(fakes.multimedia.commands.empty()) << "no music before the gate";
        EXPECT_EQ(fakes.random.seeds, 0);
        EXPECT_FALSE(w.form1.visible());
    });
    w.form5.Command1->click();
    expectThreeGateMessages();
    EXPECT_TRUE(w.form1.visible());
    EXPECT_EQ(fakes.random.seeds, 1);
    EXPECT_EQ(fakes.multimedia.commands, std::vector<std::string>{platform::sounds::kPlayMusic});
}

TEST_P(ResolutionGateTest, TaleWindowChecksTheScreenOnEveryLoad) {
    enterMainWindow();
    screenFixedAfterThreeMessages([this] { EXPECT_FALSE(w.form17.visible()); });
    w.form17.show();
    expectThreeGateMessages();
    w.form17.Command1->click();
    fakes.message.shown.clear();
    screenFixedAfterThreeMessages([] {});
    w.form17.show();
    expectThreeGateMessages();
}

INSTANTIATE_TEST_SUITE_P(WrongScreens, ResolutionGateTest, ::testing::Values(GateCase{1024, 768}, GateCase{1600, 1200}),
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

TEST(ResolutionGate, TheTestIsExact) {
    AppHarness h;
    for (auto size : {platform::ScreenSize{1280, 1023}, {1281, 1024}, {1024, 1280}}) {
        h.fakes.screen.size = size;
        h.fakes.message.shown.clear();
        h.fakes.message.onMessage = [&](const std::string&) { h.fakes.screen.size = {1280, 1024}; };
        platform::Services services = h.fakes.services();
        platform::passResolutionGate(services);
        EXPECT_EQ(h.fakes.message.shown.size(), 1u) << size.width << "x" << size.height;
    }
}

TEST(EndingTheProgram, WelcomeExitEndsEverythingAfterVisitsToHiddenPages) {
    AppHarness h;
    int endings = 0;
    h.desktop.onEnded = [&] { ++endings; };
    h.w.form5.show();
    h.w.form5.Command3->click();
    h.w.form7.Command1->click();
    h.w.form5.Command4->click();
    h.w.form8.Command1->click();
    h.w.form11.Command1->click();
    h.w.form8.Command7->click();
    h.w.form5.Command2->click();
    EXPECT_TRUE(h.desktop.ended());
    EXPECT_EQ(endings, 1);
    for (const auto& [number, form] : h.desktop.forms()) EXPECT_FALSE(form->loaded()) << "Form" << number;
}

TEST(EndingTheProgram, MainExitUnloadsHiddenWindowsThenClosesTheMusicAndNothingIsSentAfter) {
    AppHarness h;
    h.w.form5.show();
    h.w.form5.Command4->click();
    h.w.form8.Command7->click();
    h.w.form5.Command1->click();
    h.w.form1.Command9->click();
    h.w.form9.Command3->click();
    h.fakes.multimedia.commands.clear();

    h.w.form1.Command8->click();
    EXPECT_TRUE(h.desktop.ended());
    for (const auto& [number, form] : h.desktop.forms()) EXPECT_FALSE(form->loaded()) << "Form" << number;
    EXPECT_EQ(h.fakes.multimedia.commands, std::vector<std::string>{platform::sounds::kCloseMusic}) << "no click from выход";
    h.fakes.timers.advance(10000);
    EXPECT_EQ(h.fakes.multimedia.commands.size(), 1u) << "the music timer went with its window";
}

TEST(Sounds, MainCommandsClickFirstAndTheMusicIsResentEveryFifthTickAlsoWhileHidden) {
    AppHarness h;
    h.enterMainWindow();
    ASSERT_EQ(h.count(platform::sounds::kPlayMusic), 1);
    std::vector<int> resentOnTicks;
    for (int tick = 1; tick <= 16; ++tick) {
        if (tick == 8) h.w.form1.Command9->click();  // hidden behind the recess menu from here on
        const int before = h.count(platform::sounds::kPlayMusic);
        h.fakes.timers.advance(600);
        if (h.count(platform::sounds::kPlayMusic) > before) resentOnTicks.push_back(tick);
    }
    EXPECT_EQ(resentOnTicks, (std::vector<int>{6, 11, 16}));

    h.w.form9.Command3->click();
    h.fakes.multimedia.commands.clear();
    h.nextDraw(37, 38);
    h.w.form1.Command2->click();
    EXPECT_EQ(h.fakes.multimedia.commands, std::vector<std::string>{platform::sounds::kClick}) << "click before the draw";
    h.w.form3.pressCloseBox();
    h.fakes.multimedia.commands.clear();
    h.w.form1.Command4->click();
    h.w.form6.Command1->click();
    h.w.form1.Command7->click();
    h.w.form10.hide();
    h.w.form1.Command9->click();
    h.w.form9.Command1->click();
    EXPECT_EQ(h.count(platform::sounds::kClick), 3) << "gallery, tale chooser and recess click; the menus do not";
    EXPECT_EQ(h.fakes.multimedia.commands.size(), 3u);
}
