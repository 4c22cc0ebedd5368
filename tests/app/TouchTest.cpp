// A finger does what the mouse does, through the real stage and Qt's touch
// events: a tap presses a swatch or a button, a tap on the canvas fills, a
// finger drawn over the canvas with a pen chosen draws a stroke.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPointingDevice>
#include <QScreen>
#include <QTest>
#include <memory>

#include "platform/Desktop.h"
#include "tests/app/AppHarness.h"

using namespace platform;

namespace {

struct TouchTest : ::testing::Test, testing_support::AppHarness {
    std::unique_ptr<QPointingDevice> owned{QTest::createTouchDevice()};  // Qt leaves it to the test
    QPointingDevice* finger = owned.get();
    TouchTest() {
        // Touch points must lie on the screen, which is 800 x 600 here: the stage
        // is scaled into it, as on a small monitor.
        desktop.stage().setGeometry(QGuiApplication::primaryScreen()->geometry());
        desktop.stage().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&desktop.stage()));
        enterMainWindow();
        settle();
    }
    QWidget* screen() { return desktop.stage().viewport(); }
    QPoint at(int x, int y) { return desktop.stage().mapFromScene(QPointF(x, y)); }
    void tap(int x, int y) {
        QTest::touchEvent(screen(), finger).press(0, at(x, y));
        QTest::touchEvent(screen(), finger).release(0, at(x, y));
        settle();
    }
    PictureBox& canvas() { return *w.form1.canvas.Picture1; }
};

}  // namespace

TEST_F(TouchTest, TapsPressAndFillAndAFingerDrawsAStroke) {
    tap(1004, 644);  // swatch 12, blue
    tap(308, 308);   // the blank canvas, at its pixel (300, 300)
    EXPECT_EQ(canvas().pixel(300, 300), rgb(0, 0, 255)) << "a tap on the canvas fills";

    tap(1032, 792);  // the black pen
    QTest::touchEvent(screen(), finger).press(0, at(108, 700));
    for (int x = 110; x <= 408; x += 2) QTest::touchEvent(screen(), finger).move(0, at(x, 700));
    QTest::touchEvent(screen(), finger).release(0, at(408, 700));
    settle();
    for (const int x : {150, 250, 350}) EXPECT_EQ(canvas().pixel(x, 692), kBlack) << x;
    EXPECT_EQ(canvas().pixel(250, 712), rgb(0, 0, 255)) << "the stroke is the pen's width, not a fill";

    tap(1196, 571);  // " напечатать сказку"
    EXPECT_TRUE(w.form10.visible()) << "a tap presses a button";
}
