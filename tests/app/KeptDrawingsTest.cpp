// A drawing survives an end of the program other than its own exit buttons: the
// windows are built afresh, as at the next start, over the same user folders.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "app/WindowSet.h"
#include "platform/Desktop.h"
#include "platform/fakes/Fakes.h"
#include "tests/pictures/ProgramFolder.h"
#include "tests/support/PrivateHome.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

const ColourNumber kBlue = rgb(0, 0, 255);

// One run of the program on fake services; destroying it is the program killed.
struct ProgramRun {
    fakes::FakeServices fakes;
    Desktop desktop{fakes.services()};
    app::WindowSet w{desktop};

    ProgramRun() {
        w.form5.show();
        w.form5.Command1->click();  // "В игру !!!"
    }
    static void fill(canvas::CanvasComponent& c, int x, int y, ColourNumber colour) {
        c.state().CurrentColor = colour;
        PictureBox& p = *c.Picture1;
        p.changed(c.state().press(p.pixels(), x, y, kBlack, p.width(), p.height()));
    }
    void openTale(int k) {
        w.form1.Command7->click();
        w.form10.Command1(k - 1).click();
    }
};

struct KeptDrawingsTest : ::testing::Test {
    testing_support::PrivateHome home;
    testing_support::ProgramFolder folder;
    fs::path kept(const char* name) const { return home.path() / ".local/state/pyatnushki" / name; }
    // The drawing is written on a thread of its own, within a second of the change.
    bool keptWithin(const char* name, ProgramRun& run) {
        run.fakes.timers.advance(1000);
        for (int waited = 0; waited < 500 && !fs::exists(kept(name)); ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return fs::exists(kept(name));
    }
};

}  // namespace

TEST_F(KeptDrawingsTest, TheMainWindowsDrawingComesBackUnlessTheProgramWasLeftByItsExitButton) {
    testing_support::ProgramFolder::writeLibrary(3, "Лиса", {"0000000000", "0111101110", "0111101110", "0000000000"});
    {
        ProgramRun killed;
        killed.fakes.random.script = {2.5 / 38};
        killed.w.form1.Command2->click();  // ">>": picture 3
        ProgramRun::fill(killed.w.form1.canvas, 2, 2, kBlue);
        EXPECT_FALSE(fs::exists(kept("main.kept"))) << "nothing is written before the second is up";
        ASSERT_TRUE(keptWithin("main.kept", killed));
    }
    {
        ProgramRun next;
        PictureBox& canvas = *next.w.form1.canvas.Picture1;
        EXPECT_EQ(canvas.pixel(2, 2), kBlue);
        EXPECT_EQ(canvas.pixel(0, 1), kBlack);
        EXPECT_EQ(next.w.form1.Label2->caption(), "Лиса");
        EXPECT_EQ(next.w.form1.PictureNumber, 3);
        EXPECT_TRUE(next.w.form1.Command1->enabled()) << "\"очистка рисунка\" as it was";
        next.w.form1.Command3->click();  // saves to the same slot
        ASSERT_TRUE(next.fakes.message.shown.empty()) << next.fakes.message.shown.front();
        EXPECT_TRUE(fs::exists(pictures::galleryPath(3)));
        next.w.form1.Command8->click();  // "выход"
        EXPECT_FALSE(fs::exists(kept("main.kept")));
    }
    ProgramRun after;
    EXPECT_EQ(after.w.form1.canvas.Picture1->pixel(2, 2), kWhite) << "after \"выход\" the next start is blank";
    EXPECT_EQ(after.w.form1.PictureNumber, 0);
}

TEST_F(KeptDrawingsTest, ATalePageComesBackWhenTheSameTaleIsChosenAgain) {
    {
        ProgramRun killed;
        killed.openTale(2);
        killed.w.form17.Command2->click();  // ">>": page 2
        ProgramRun::fill(killed.w.form17.canvas, 300, 300, kBlue);
        ASSERT_TRUE(keptWithin("tale.kept", killed));
    }
    {
        ProgramRun next;
        EXPECT_EQ(next.w.form1.canvas.Picture1->pixel(300, 300), kWhite) << "the tale's page is not the main window's";
        next.openTale(1);
        EXPECT_EQ(next.w.form17.PageCounter, 0) << "another tale starts at its beginning";
        EXPECT_EQ(next.w.form17.canvas.Picture1->pixel(300, 300), kWhite);
        next.w.form17.Command1->click();  // its "Выход"
        EXPECT_TRUE(fs::exists(kept("tale.kept"))) << "leaving another tale keeps this one";
        next.openTale(2);
        EXPECT_EQ(next.w.form17.PageCounter, 1);
        EXPECT_EQ(next.w.form17.canvas.Picture1->pixel(300, 300), kBlue);
        next.w.form17.Command1->click();  // "Выход": the tale was left by its own button
    }
    ProgramRun after;
    after.openTale(2);
    EXPECT_EQ(after.w.form17.PageCounter, 0);
    EXPECT_EQ(after.w.form17.canvas.Picture1->pixel(300, 300), kWhite);
}
