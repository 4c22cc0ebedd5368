// A handler that unloads its own window and then waits on a real message box:
// the box runs an event loop of its own, and nothing the handler still stands on
// may be destroyed inside it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "platform/Desktop.h"
#include "platform/Form.h"
#include "platform/ModalScope.h"
#include "platform/QtServices.h"
#include "platform/fakes/Fakes.h"

using namespace platform;

namespace {

class WaitingForm : public Form {
public:
    WaitingForm(Desktop& desktop, int number) : Form(desktop, {.number = number}) {}

    Ctl<CommandButton> Command1{*this};
    Ctl<Timer> Timer1{*this};

    // What the handler found after the message was dismissed.
    bool buttonAliveAfterMessage = false;
    bool timerAliveAfterMessage = false;
    int ticks = 0;

protected:
    void build() override {
        add(Command1, "Command1", ButtonDesign{{10, 10, 100, 30}, "готово"}).Click = [this] {
            const QPointer<QWidget> button = Command1->widget();
            unload();
            message("Правильно");
            buttonAliveAfterMessage = !button.isNull();
        };
        add(Timer1, "Timer1", TimerDesign{100, false}).Tick = [this] {
            ++ticks;
            const QPointer<QWidget> button = Command1->widget();
            Timer1->setEnabled(false);
            unload();
            message("Проиграл!");
            timerAliveAfterMessage = !button.isNull();
        };
    }
};

// Real message boxes over fake everything else.
struct ModalSafetyTest : ::testing::Test {
    QWidget* owner = nullptr;
    QtMessage message{owner};
    fakes::FakeServices fakes;
    Desktop desktop{Services{message, fakes.screen, fakes.multimedia, fakes.printer, fakes.browser, fakes.beep,
                             fakes.random, fakes.timers}};
    WaitingForm form{desktop, 1};
    WaitingForm other{desktop, 2};
    int dismissed = 0;

    // Dismisses each message box once it is up, after letting its own event loop run a while.
    QTimer dismisser;
    ModalSafetyTest() {
        other.show();  // keeps the program from ending when the first window unloads
        dismisser.setInterval(20);
        QObject::connect(&dismisser, &QTimer::timeout, [this] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                box->close();
                ++dismissed;
            }
        });
        dismisser.start();
    }
};

}  // namespace

TEST_F(ModalSafetyTest, AButtonThatUnloadsItsWindowOutlivesTheMessageItShows) {
    form.show();
    form.Command1->click();
    EXPECT_EQ(dismissed, 1);
    EXPECT_TRUE(form.buttonAliveAfterMessage) << "destroyed inside the message's event loop";
    EXPECT_FALSE(form.loaded());
    QCoreApplication::processEvents();
    form.show();  // and the window loads afresh
    EXPECT_TRUE(form.loaded());
    EXPECT_TRUE(other.loaded());
}

TEST_F(ModalSafetyTest, ATimerThatUnloadsItsWindowOutlivesTheMessageAndTicksNoMore) {
    form.show();
    form.Timer1->setEnabled(true);
    fakes.timers.advance(100);
    EXPECT_EQ(dismissed, 1);
    EXPECT_TRUE(form.timerAliveAfterMessage) << "destroyed inside the message's event loop";
    fakes.timers.advance(1000);
    EXPECT_EQ(form.ticks, 1) << "an unloaded window's timer decides nothing more";
}

// Work put off while a box is up runs once the outermost box is gone, not before.
TEST_F(ModalSafetyTest, PutOffWorkWaitsForTheOutermostNestedLoop) {
    std::vector<int> order;
    {
        const ModalScope outer;
        {
            const ModalScope inner;
            ModalScope::afterModal([&] { order.push_back(1); });
        }
        EXPECT_TRUE(order.empty());
        ModalScope::afterModal([&] { order.push_back(2); });
    }
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    ModalScope::afterModal([&] { order.push_back(3); });
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3})) << "with no box up it runs at once";
}
