// The life of a window: loading from design values, hiding, unloading, implicit
// loading from elsewhere, timers, and ending the program with the last window.
#include <gtest/gtest.h>

#include <functional>

#include <QGraphicsProxyWidget>
#include <QLabel>

#include "platform/Form.h"
#include "tests/support/Harness.h"

using namespace platform;
using testing_support::Harness;
using testing_support::zOrder;

namespace {

class ProbeForm : public Form {
public:
    ProbeForm(Desktop& desktop, int number) : Form(desktop, {.number = number, .backColour = rgb(1, 2, 3)}) {}

    Ctl<Label> Label1{*this};
    Ctl<CommandButton> Command1{*this};
    Ctl<Timer> Timer1{*this};
    CtlArray<PictureBox> Picture4{*this};

    int loads = 0;
    int ticks = 0;
    std::string ownVariable;
    bool visibleDuringLoad = true;

protected:
    void build() override {
        add(Label1, "Label1", LabelDesign{.bounds = {10, 10, 100, 20}, .caption = "design"});
        add(Command1, "Command1", ButtonDesign{{10, 40, 100, 30}, "закрыть"}).Click = [this] { unload(); };
        add(Timer1, "Timer1", TimerDesign{100, true}).Tick = [this] { ++ticks; };
        for (int index : {0, 1234, 4321}) add(Picture4, "Picture4", index, PictureDesign{{200 + index / 100, 10, 21, 21}});
    }
    void Form_Load() override {
        ++loads;
        visibleDuringLoad = visible();
    }
};

// A control whose widget reports being hidden, as some real widgets do by
// signalling (a list tells of its row change when it goes away).
class HideReporter : public Control {
public:
    struct Widget : QWidget {
        using QWidget::QWidget;
        std::function<void()> hidden;
        void hideEvent(QHideEvent*) override {
            if (hidden) hidden();
        }
    };
    HideReporter(const ControlContext& context, const Bounds& bounds)
        : Control(new Widget(context.parent), context.name) {
        widget()->setGeometry(bounds.left, bounds.top, bounds.width, bounds.height);
    }
    std::function<void()>& Hidden() { return static_cast<Widget*>(widget())->hidden; }
};

// A window whose handler reads a control of its own when that widget hides.
class ReadsOnHideForm : public Form {
public:
    explicit ReadsOnHideForm(Desktop& desktop) : Form(desktop, {.number = 9}) {}
    Ctl<Label> Label1{*this};
    Ctl<HideReporter> Reporter{*this};
    int loads = 0;
    std::string seen;

protected:
    void build() override {
        add(Label1, "Label1", LabelDesign{.bounds = {10, 10, 100, 20}, .caption = "design"});
        add(Reporter, "Reporter", Bounds{10, 40, 50, 50}).Hidden() = [this] { seen = Label1->caption(); };
    }
    void Form_Load() override { ++loads; }
};

struct FormTest : ::testing::Test {
    Harness h;
    ProbeForm a{h.desktop, 1};
    ProbeForm b{h.desktop, 2};
};

}  // namespace

TEST_F(FormTest, ShowBuildsControlsFromDesignThenRunsLoadBeforeBecomingVisible) {
    EXPECT_FALSE(a.loaded());
    a.show();
    EXPECT_EQ(a.loads, 1);
    EXPECT_FALSE(a.visibleDuringLoad);
    EXPECT_TRUE(a.visible());
    EXPECT_EQ(a.Label1->caption(), "design");
    EXPECT_EQ(a.Label1->widget()->objectName(), "Label1");
    EXPECT_EQ(a.Picture4(1234).widget()->objectName(), "Picture4(1234)");
    EXPECT_EQ(a.backColour(), rgb(1, 2, 3));
    EXPECT_THROW(a.Picture4(1), std::out_of_range);
}

TEST_F(FormTest, HiddenWindowKeepsItsStateAndItsTimersKeepTicking) {
    a.show();
    a.Label1->setCaption("changed");
    a.Command1->setEnabled(false);
    a.hide();
    EXPECT_TRUE(a.loaded());
    EXPECT_FALSE(a.visible());
    h.fakes.timers.advance(350);
    EXPECT_EQ(a.ticks, 3);
    a.show();
    EXPECT_EQ(a.loads, 1) << "showing a hidden window must not load it again";
    EXPECT_EQ(a.Label1->caption(), "changed");
    EXPECT_FALSE(a.Command1->enabled());
}

TEST_F(FormTest, UnloadDestroysControlsAndTimersButKeepsTheWindowsOwnVariables) {
    a.show();
    b.show();  // keeps the program running
    a.ownVariable = "kept";
    a.Label1->setCaption("changed");
    a.unload();
    Harness::settle();
    EXPECT_FALSE(a.loaded());
    EXPECT_EQ(a.clientWidget(), nullptr);
    EXPECT_EQ(h.fakes.timers.liveTimers(), 1) << "only b's timer is left";
    h.fakes.timers.advance(1000);
    EXPECT_EQ(a.ticks, 0);
    EXPECT_EQ(a.ownVariable, "kept");

    a.show();
    EXPECT_EQ(a.loads, 2);
    EXPECT_EQ(a.Label1->caption(), "design") << "a new load starts from the design values";
}

TEST_F(FormTest, ReadingAnotherWindowsControlLoadsItHidden) {
    a.show();
    EXPECT_EQ(b.Label1->caption(), "design");
    EXPECT_TRUE(b.loaded());
    EXPECT_FALSE(b.visible());
    EXPECT_EQ(b.loads, 1);
    b.Label1->setCaption("3");
    b.show();
    EXPECT_EQ(b.loads, 1);
    EXPECT_EQ(b.Label1->caption(), "3");
}

TEST_F(FormTest, ShowingAVisibleWindowOnlyBringsItToTheFront) {
    a.show();
    b.show();
    EXPECT_GT(zOrder(b), zOrder(a));
    a.show();
    EXPECT_EQ(a.loads, 1);
    EXPECT_GT(zOrder(a), zOrder(b));
    EXPECT_TRUE(b.visible());
}

TEST_F(FormTest, UnloadingAWindowThatIsNotLoadedLeavesItAlone) {
    a.show();
    b.unload();
    EXPECT_FALSE(b.loaded());
    EXPECT_EQ(b.loads, 0);
    EXPECT_FALSE(h.desktop.ended());
}

TEST_F(FormTest, AWindowMayUnloadItselfFromItsOwnButton) {
    a.show();
    b.show();
    a.Command1->click();
    EXPECT_FALSE(a.loaded());
    Harness::settle();  // the button is destroyed only now, after its handler
    a.show();
    EXPECT_EQ(a.Label1->caption(), "design");
}

TEST_F(FormTest, EndingTheProgramUnloadsHiddenWindowsToo) {
    int endings = 0;
    h.desktop.onEnded = [&] { ++endings; };
    a.show();
    b.show();
    b.hide();
    h.desktop.endProgram();
    EXPECT_FALSE(a.loaded());
    EXPECT_FALSE(b.loaded());
    EXPECT_TRUE(h.desktop.ended());
    EXPECT_EQ(endings, 1);
    h.fakes.timers.advance(1000);
    EXPECT_EQ(a.ticks + b.ticks, 0);
}

TEST_F(FormTest, TheProgramEndsWhenTheLastLoadedWindowIsUnloaded) {
    a.show();
    b.show();
    a.unload();
    EXPECT_FALSE(h.desktop.ended());
    b.unload();
    EXPECT_TRUE(h.desktop.ended());
}

TEST_F(FormTest, PictureBoxKeepsPixelsAndReadsMinusOneOutside) {
    a.show();
    PictureBox& box = a.Picture4(0);
    box.setBounds({0, 0, 24, 14});  // 2-pixel border on each side
    EXPECT_EQ(box.drawableWidth(), 20);
    EXPECT_EQ(box.drawableHeight(), 10);
    EXPECT_EQ(box.outerWidthTwips(), 24 * 15);
    box.setBackColour(kWhite);
    box.setPixel(19, 9, rgb(255, 0, 0));
    box.setPixel(20, 9, rgb(255, 0, 0));  // outside: ignored
    EXPECT_EQ(box.pixel(19, 9), rgb(255, 0, 0));
    EXPECT_EQ(box.pixel(0, 0), kWhite);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {20, 0}, {0, 10}}) EXPECT_EQ(box.pixel(x, y), kNoColour) << x << "," << y;
    box.setOuterSizeTwips(30 * 15, 20 * 15);
    EXPECT_EQ(box.pixel(19, 9), rgb(255, 0, 0)) << "a resize keeps what was drawn";
    EXPECT_EQ(box.drawableWidth(), 26);
    box.clear();
    EXPECT_EQ(box.pixel(19, 9), kWhite);
    box.setBackColour(rgb(0, 0, 255));
    EXPECT_EQ(box.pixel(5, 5), rgb(0, 0, 255)) << "a new background colour clears the box to it";
}

TEST_F(FormTest, PictureBoxShowsItsPixelsOnScreen) {
    a.show();
    PictureBox& box = a.Picture4(0);
    box.setBounds({0, 0, 24, 14});
    box.setBackColour(kWhite);
    box.setPixel(3, 4, rgb(255, 0, 0));
    Harness::settle();
    const QImage shot = box.widget()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(3 + PictureBox::kBorder, 4 + PictureBox::kBorder), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(4 + PictureBox::kBorder, 4 + PictureBox::kBorder), QColor(255, 255, 255));
}

TEST_F(FormTest, NothingAWindowsUnloadSetsOffLoadsItAgain) {
    ReadsOnHideForm form(h.desktop);
    a.show();
    form.show();
    form.unload();
    Harness::settle();
    EXPECT_FALSE(form.loaded()) << "a handler run by the unload loaded the window again";
    EXPECT_EQ(form.clientWidget(), nullptr);
    EXPECT_EQ(form.loads, 1);
    form.show();
    EXPECT_EQ(form.loads, 2);
    EXPECT_EQ(form.Label1->caption(), "design");
    form.unload();  // before the window object goes, as it outlives the stage in the program
    Harness::settle();
}
