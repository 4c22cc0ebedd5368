// The keyboard as on any desktop: a window without designed tab indexes is
// reached top to bottom, left to right; Enter and Space press the focused button
// as a click does; Esc does what the close box does; the focused control shows a
// frame; a list takes the focus without choosing an item.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGraphicsProxyWidget>
#include <QImage>
#include <QTest>

#include "platform/Form.h"
#include "tests/support/Harness.h"

using namespace platform;
using testing_support::Harness;

namespace {

// Built in an order unlike its layout, with no tab indexes of its own.
class PanelForm : public Form {
public:
    PanelForm(Desktop& desktop, int number)
        : Form(desktop, {.number = number, .frame = Frame::TitleBar, .clientWidth = 400, .clientHeight = 300}) {}

    Ctl<CommandButton> Lower{*this}, Upper{*this}, UpperLeft{*this};
    Ctl<ListBox> List1{*this};
    Ctl<Label> Label1{*this};
    std::vector<std::string> pressed;
    int choices = 0;
    int closings = 0;

protected:
    void build() override {
        add(Lower, "Lower", ButtonDesign{{10, 200, 100, 40}, "нижняя", {}, rgb(255, 255, 255)}).Click = [this] {
            pressed.push_back("Lower");
        };
        add(Upper, "Upper", ButtonDesign{{150, 10, 100, 40}, "верхняя", {}, rgb(0, 0, 0)}).Click = [this] {
            pressed.push_back("Upper");
        };
        add(UpperLeft, "UpperLeft", ButtonDesign{{10, 10, 100, 40}, "слева"}).Click = [this] {
            pressed.push_back("UpperLeft");
        };
        add(List1, "List1", ListBoxDesign{{10, 80, 200, 100}}).Click = [this] { ++choices; };
        add(Label1, "Label1", LabelDesign{.bounds = {260, 80, 100, 20}, .caption = "не для клавиш"});
        for (const char* item : {"один", "два", "три"}) List1->addItem(item);
    }
    void closeBoxPressed() override { ++closings; }
};

struct KeyboardTest : ::testing::Test {
    Harness h;
    PanelForm form{h.desktop, 1};
    Stage& stage = h.desktop.stage();

    KeyboardTest() {
        stage.show();
        QApplication::setActiveWindow(&stage);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&stage));
        form.show();
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(stage.windowHandle(), k, modifiers);
    }
    std::string focused() const {
        QWidget* widget = form.clientWidget()->window()->focusWidget();
        return widget ? widget->objectName().toStdString() : "";
    }
};

}  // namespace

TEST_F(KeyboardTest, TabGoesTopToBottomThenLeftToRightAndBackWithShiftTab) {
    EXPECT_EQ(focused(), "UpperLeft") << "the first control has the keyboard when the window first shows";
    const std::vector<std::string> forward = {"Upper", "List1", "Lower", "UpperLeft"};
    for (const std::string& next : forward) {
        key(Qt::Key_Tab);
        EXPECT_EQ(focused(), next);
    }
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), "Lower");
    EXPECT_EQ(form.choices, 0) << "passing through the list chooses nothing";
    EXPECT_EQ(form.List1->listIndex(), -1);
}

TEST_F(KeyboardTest, EnterAndSpacePressTheFocusedButtonAsAClickDoes) {
    key(Qt::Key_Return);
    key(Qt::Key_Tab);
    key(Qt::Key_Enter);
    key(Qt::Key_Space);
    EXPECT_EQ(form.pressed, (std::vector<std::string>{"UpperLeft", "Upper", "Upper"}));
}

TEST_F(KeyboardTest, ArrowKeysMoveThroughTheListAndEachRowIsAChoice) {
    form.List1->setFocus();
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(form.List1->listIndex(), 1);
    EXPECT_EQ(form.choices, 2);
}

TEST_F(KeyboardTest, EscDoesWhatTheCloseBoxDoes) {
    key(Qt::Key_Escape);
    form.List1->setFocus();
    key(Qt::Key_Escape);
    EXPECT_EQ(form.closings, 2);
    EXPECT_TRUE(form.pressed.empty());

    // A press on the bare stage beside the window leaves it the keyboard.
    QTest::mouseClick(stage.viewport(), Qt::LeftButton, {}, stage.mapFromScene(QPointF(1270, 1010)));
    key(Qt::Key_Escape);
    EXPECT_EQ(form.closings, 3) << "a press beside the window took its keyboard";
    EXPECT_EQ(focused(), "List1");
}

// The frame shows only once the keyboard moves between controls (Tab, the
// arrows), not while the child only clicks, as desktops do; drawn white under
// black inside the control, it shows on a white button and on a black one alike.
TEST_F(KeyboardTest, TheFocusFrameShowsOnceTheKeyboardMovesAndOnAnyColour) {
    // Pixels of the frame's top edge unlike the button's face.
    const auto framed = [](const Ctl<CommandButton>& button) {
        const QImage image = button->widget()->grab().toImage();
        const int face = QColor(toQColor(button->backColour())).lightness();
        int unlike = 0;
        for (int y = 2; y <= 4; ++y)
            for (int x = 10; x < image.width() - 10; ++x) unlike += std::abs(image.pixelColor(x, y).lightness() - face) > 100;
        return unlike > 20;
    };
    const auto pressOnLabel = [&] {
        QWidget* label = form.Label1->widget();
        const QPointF onStage =
            label->window()->graphicsProxyWidget()->mapToScene(label->mapTo(label->window(), label->rect().center()));
        QTest::mouseClick(stage.viewport(), Qt::LeftButton, {}, stage.mapFromScene(onStage));
    };
    EXPECT_EQ(focused(), "UpperLeft");
    EXPECT_FALSE(framed(form.UpperLeft)) << "the first control has the keys but no frame before a key moves them";
    key(Qt::Key_Tab);
    EXPECT_TRUE(framed(form.Upper)) << "a black button";
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    EXPECT_TRUE(framed(form.Lower)) << "a white button";
    pressOnLabel();
    EXPECT_EQ(focused(), "Lower") << "a press on a label leaves the keys where they were";
    EXPECT_FALSE(framed(form.Lower)) << "a press of the mouse hides the frame";
    key(Qt::Key_Right);  // on round to the first button
    EXPECT_EQ(focused(), "UpperLeft");
    EXPECT_TRUE(framed(form.UpperLeft)) << "an arrow shows it again";
}
