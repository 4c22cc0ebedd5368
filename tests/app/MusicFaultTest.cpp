// The real sound layer behind the whole window set, in a program folder that
// lacks its music: the music timer resends the tune every three seconds, and the
// child hears of the missing file once, not every time.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/WindowSet.h"
#include "platform/SdlMultimedia.h"
#include "tests/pictures/ProgramFolder.h"
#include "tests/support/Harness.h"

using namespace platform;

namespace {

struct MusicFaultTest : ::testing::Test {
    testing_support::ProgramFolder folder;  // no sounds in it at all
    fakes::FakeServices fakes;
    SdlMultimedia sound{fakes.message};
    Desktop desktop{Services{fakes.message, fakes.screen, sound, fakes.printer, fakes.browser, fakes.beep,
                             fakes.random, fakes.timers}};
    app::WindowSet w{desktop};

    int toldAbout(const std::string& name) const {
        const auto& shown = fakes.message.shown;
        return static_cast<int>(std::count_if(shown.begin(), shown.end(), [&](const std::string& text) {
            return text.find("«" + name + "»") != std::string::npos;
        }));
    }
};

}  // namespace

TEST_F(MusicFaultTest, AMissingTuneIsToldOnceInHalfAMinuteOfResends) {
    w.form5.show();
    w.form5.Command1->click();  // "В игру !!!": the main window starts the music
    ASSERT_TRUE(w.form1.visible());
    fakes.timers.advance(30'000);
    for (int press = 0; press < 5; ++press) {  // ">>" a few times, each with its click
        fakes.random.script.push_back((5 - 0.5) / 38);  // picture 5, which is missing too
        w.form1.Command2->click();
    }
    fakes.timers.advance(30'000);
    EXPECT_EQ(toldAbout("fon.mid"), 1);
    EXPECT_EQ(toldAbout("kn.wav"), 1);
    EXPECT_TRUE(w.form1.visible()) << "the program goes on";
}
