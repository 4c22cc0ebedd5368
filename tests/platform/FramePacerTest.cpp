// Repaints held to the screen's frames: a change after a quiet spell shows at
// once, changes that come faster than frames wait for the next one and are
// painted together, once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTest>
#include <QWidget>

#include "platform/FramePacer.h"

using platform::framePacer::kFrameMilliseconds;

namespace {

class CountingWidget : public QWidget {
public:
    int paints = 0;
    QRegion painted;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        painted += event->region();
    }
};

struct FramePacerTest : ::testing::Test {
    CountingWidget widget;

    FramePacerTest() {
        widget.resize(200, 100);
        widget.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
        QTest::qWait(2 * kFrameMilliseconds);  // quiet: the last frame is long gone
        widget.paints = 0;
        widget.painted = QRegion();
    }
    // Lets posted work run without waiting for any time to pass.
    static void pump() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    void change(const QRect& area) { platform::framePacer::update(&widget, area); }
};

}  // namespace

TEST_F(FramePacerTest, AChangeAfterAQuietSpellShowsAtOnceAndOneRightAfterWaitsForTheNextFrame) {
    change({0, 0, 10, 10});
    pump();
    EXPECT_EQ(widget.paints, 1) << "held back after a quiet spell";

    change({20, 0, 10, 10});
    pump();
    EXPECT_EQ(widget.paints, 1) << "painted again within the same frame";
    QTest::qWait(kFrameMilliseconds + 20);
    EXPECT_EQ(widget.paints, 2) << "not painted with the next frame";
}

TEST_F(FramePacerTest, ChangesWithinAFrameArePaintedOnceTogether) {
    change({0, 0, 10, 10});
    pump();
    ASSERT_EQ(widget.paints, 1);
    widget.painted = QRegion();
    for (int i = 0; i < 10; ++i) change({i % 2 ? 100 : 0, 50, 10, 10});
    QTest::qWait(kFrameMilliseconds + 20);
    EXPECT_EQ(widget.paints, 2);
    EXPECT_TRUE(widget.painted.contains(QRect(0, 50, 10, 10)));
    EXPECT_TRUE(widget.painted.contains(QRect(100, 50, 10, 10)));
    EXPECT_FALSE(widget.painted.contains(QPoint(50, 55))) << "the box around both painted, not the two parts";
}

// A timer that wakes once a frame may come a little before the frame is due:
// its changes show at once rather than wake the program again a moment later.
TEST_F(FramePacerTest, AChangeALittleBeforeTheFrameIsDueShowsAtOnce) {
    change({0, 0, 10, 10});
    pump();
    ASSERT_EQ(widget.paints, 1);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kFrameMilliseconds * 4 / 5) {
    }
    change({20, 0, 10, 10});
    pump();
    EXPECT_EQ(widget.paints, 2);
}
