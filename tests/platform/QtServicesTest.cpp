// The real message box returns however the user dismisses it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "platform/FramePacer.h"
#include "platform/QtServices.h"

using platform::QtMessage;

namespace {

// Dismisses the message box that is about to open, the way a user would.
void dismissNextBox(const std::function<void(QWidget*)>& how) {
    QTimer::singleShot(0, [how] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        how(box);
    });
}

}  // namespace

TEST(QtMessageTest, OkEscapeAndTheCloseBoxAllDismissTheBox) {
    QWidget* owner = nullptr;
    QtMessage message(owner);
    int returned = 0;

    dismissNextBox([](QWidget* box) {
        auto* messageBox = qobject_cast<QMessageBox*>(box);
        ASSERT_NE(messageBox, nullptr);
        EXPECT_EQ(messageBox->windowTitle(), QString::fromUtf8("Пятнушки"));
        EXPECT_EQ(messageBox->buttons().size(), 1);
        messageBox->buttons().first()->click();
    });
    message.message("один");
    ++returned;

    dismissNextBox([](QWidget* box) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &escape);
    });
    message.message("два");
    ++returned;

    dismissNextBox([](QWidget* box) { box->close(); });
    message.message("три");
    ++returned;

    EXPECT_EQ(returned, 3);
}

namespace {

using Clock = std::chrono::steady_clock;

// Runs the event loop for a while, as the program's idle time would.
void runFor(int ms) {
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < until) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

// When each tick came.
struct Ticks {
    std::vector<Clock::time_point> at;
    std::function<void()> counter() {
        return [this] { at.push_back(Clock::now()); };
    }
    // Ticks less than a millisecond apart came from one wake-up.
    int wakeUps() const {
        int count = 0;
        for (std::size_t i = 0; i < at.size(); ++i) {
            if (i == 0 || at[i] - at[i - 1] > std::chrono::milliseconds(1)) ++count;
        }
        return count;
    }
};

}  // namespace

// A hidden window's fast timer wakes the program a few times a second and makes
// up every tick then; shown again, it pays what is owed and wakes once a frame,
// still without losing a tick. The counts allow for a machine that is slow to
// serve timers.
TEST(QtTimersTest, AHiddenWindowsFastTimerTicksInBatchesWithoutLosingTicks) {
    platform::QtTimers timers;
    Ticks ticks;
    auto timer = timers.create(ticks.counter());
    timer->set(10, true);
    timer->setUnseen(true);
    const auto hidden = Clock::now();
    runFor(600);
    timer->setUnseen(false);
    const auto owed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - hidden).count() / 10;
    EXPECT_GE(static_cast<long>(ticks.at.size()), owed - 2) << "ticks lost while hidden";
    EXPECT_LE(static_cast<long>(ticks.at.size()), owed + 1);
    EXPECT_LE(ticks.wakeUps(), 5) << "woke for each tick while hidden";

    ticks.at.clear();
    const auto shown = Clock::now();
    runFor(400);
    const auto due = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - shown).count() / 10;
    EXPECT_GE(static_cast<long>(ticks.at.size()), due - 5) << "ticks lost while shown";
    EXPECT_LE(static_cast<long>(ticks.at.size()), due + 1);
    EXPECT_LE(ticks.wakeUps(), 400 / platform::framePacer::kFrameMilliseconds + 2) << "woke for each tick while shown";
    EXPECT_GE(ticks.wakeUps(), 400 / platform::framePacer::kFrameMilliseconds / 2) << "still batched as if hidden";
}

TEST(QtTimersTest, HidingAndShowingLeavesASlowTimersPaceAlone) {
    platform::QtTimers timers;
    Ticks ticks;
    auto timer = timers.create(ticks.counter());
    const auto started = Clock::now();
    timer->set(600, true);
    runFor(300);
    timer->setUnseen(true);
    timer->setUnseen(false);
    while (ticks.at.empty() && Clock::now() - started < std::chrono::seconds(5)) runFor(10);
    ASSERT_FALSE(ticks.at.empty());
    EXPECT_LT(ticks.at.front() - started, std::chrono::milliseconds(850)) << "the interval was started anew";
}

// A tick may stop its timer, or unload its window and with it the timer, in
// the middle of a batch: the rest of the batch is then no longer owed.
TEST(QtTimersTest, ATickThatStopsOrDestroysItsTimerEndsTheBatch) {
    platform::QtTimers timers;
    for (const bool destroy : {false, true}) {
        SCOPED_TRACE(destroy ? "destroyed" : "stopped");
        int count = 0;
        std::unique_ptr<platform::TimerSource> timer;
        timer = timers.create([&] {
            if (++count == 3) {
                if (destroy)
                    timer.reset();
                else
                    timer->set(10, false);
            }
        });
        timer->set(10, true);
        timer->setUnseen(true);
        runFor(400);
        EXPECT_EQ(count, 3);
        if (timer) timer->setUnseen(false);
        runFor(50);
        EXPECT_EQ(count, 3);
    }
}
