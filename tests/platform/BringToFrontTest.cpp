// A click on a window that stands behind another brings it to the front, as on
// a desktop, and the click still reaches what it landed on.
#include <gtest/gtest.h>

#include <QTest>

#include "platform/Form.h"
#include "tests/support/Harness.h"

using namespace platform;
using testing_support::Harness;
using testing_support::zOrder;

namespace {

// A window of the whole stage with a button in its lower right corner.
class BackForm : public Form {
public:
    explicit BackForm(Desktop& desktop) : Form(desktop, {.number = 1}) {}
    Ctl<CommandButton> Command1{*this};
    int clicks = 0;

protected:
    void build() override {
        add(Command1, "Command1", ButtonDesign{{1100, 900, 100, 50}, "кнопка"}).Click = [this] { ++clicks; };
    }
};

// A small window in the middle.
class SmallForm : public Form {
public:
    SmallForm(Desktop& desktop, int number, int x)
        : Form(desktop, {.number = number, .clientWidth = 300, .clientHeight = 200, .placement = Placement::ClientAt, .x = x, .y = 300}) {}

protected:
    void build() override {}
};

struct BringToFrontTest : ::testing::Test {
    Harness h;
    BackForm back{h.desktop};
    SmallForm left{h.desktop, 2, 100};
    SmallForm right{h.desktop, 3, 350};

    BringToFrontTest() {
        h.desktop.stage().show();
        back.show();
        left.show();
        right.show();
        Harness::settle();
    }
    void clickStage(QPointF at) {
        Stage& stage = h.desktop.stage();
        QTest::mouseClick(stage.viewport(), Qt::LeftButton, {}, stage.mapFromScene(at));
    }
};

}  // namespace

TEST_F(BringToFrontTest, AClickOnAWindowBehindBringsItForwardAndStillActs) {
    ASSERT_GT(zOrder(left), zOrder(back));
    clickStage({1150, 925});
    EXPECT_GT(zOrder(back), zOrder(left));
    EXPECT_GT(zOrder(back), zOrder(right));
    EXPECT_EQ(back.clicks, 1) << "the click that brings a window forward is not swallowed";
    EXPECT_TRUE(left.visible()) << "the windows in front stay open behind it";
    EXPECT_TRUE(right.visible());
}

TEST_F(BringToFrontTest, OnlyTheWindowUnderThePointerMovesAndTheFrontOneStaysPut) {
    clickStage({200, 400});  // the left window, behind the right one
    EXPECT_GT(zOrder(left), zOrder(right));
    const double front = zOrder(left);
    clickStage({210, 410});
    EXPECT_EQ(zOrder(left), front) << "a click on the front window changes nothing";
}

TEST_F(BringToFrontTest, AHiddenWindowIsNotBroughtBackByAClickWhereItWas) {
    right.hide();
    clickStage({500, 400});  // where the right window stood; the main window is there now
    EXPECT_FALSE(right.visible());
    EXPECT_GT(zOrder(back), zOrder(left));
}
