// Keyboard focus and tab order, typing into the focused box, labels that take
// the size of their text, centred text boxes, shapes without border and lists
// of whole rows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QListWidget>
#include <cmath>
#include <QTest>

#include "platform/Form.h"
#include "tests/support/Harness.h"

using namespace platform;
using testing_support::Harness;

namespace {

class TabForm : public Form {
public:
    TabForm(Desktop& desktop, int number) : Form(desktop, {.number = number, .frame = Frame::TitleBar}) {}

    Ctl<TextBox> Text1{*this}, Text2{*this}, Text3{*this};
    Ctl<CommandButton> Command1{*this};
    Ctl<Label> Label1{*this};
    Ctl<Shape> Shape1{*this};
    Ctl<ListBox> List1{*this}, List2{*this};
    // Which control comes first in tab order, and whether it may take the focus.
    int buttonTab = 0;
    bool buttonEnabled = true;

protected:
    void build() override {
        add(Text2, "Text2", TextBoxDesign{.bounds = {10, 10, 80, 30}, .tabIndex = 7});
        add(Text1, "Text1", TextBoxDesign{.bounds = {10, 50, 80, 30}, .alignment = Alignment::Centre, .tabIndex = 3});
        add(Text3, "Text3", TextBoxDesign{.bounds = {10, 90, 80, 30}});  // not in the tab order
        add(Command1, "Command1",
            ButtonDesign{
                .bounds = {10, 130, 80, 30}, .caption = "OK", .enabled = buttonEnabled, .tabIndex = buttonTab});
        add(Label1, "Label1",
            LabelDesign{.bounds = {100, 10, 5, 5}, .caption = "ж", .font = {"Arial", 48}, .autoSize = true});
        add(Shape1, "Shape1",
            ShapeDesign{.bounds = {100, 100, 20, 20}, .fillColour = rgb(255, 0, 0), .borderWidth = 0});
        add(List1, "List1", ListBoxDesign{{200, 0, 300, 903}, {"MS Sans Serif", 18}});
        add(List2, "List2", ListBoxDesign{{520, 0, 200, 100}, {"Arial", 9}});
    }
};

// Types through the window system, as a keyboard would: the key goes to the
// active window and on to whatever has the focus there.
void typeOn(QWidget* window, const QString& text) {
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Click, window->windowHandle(), Qt::Key(ch.toUpper().unicode()), QString(ch),
                            Qt::NoModifier);
    }
}

struct FocusTest : ::testing::Test {
    Harness h;
    TabForm form{h.desktop, 1};
};

}  // namespace

TEST_F(FocusTest, FirstShowFocusesTheFirstControlInTabOrderThatCanTakeIt) {
    struct Case {
        int buttonTab;
        bool buttonEnabled;
        const char* focused;
    };
    const Case cases[] = {
        {0, true, "Command1"},  // the button before both boxes
        {5, true, "Text1"},     // between them
        {0, false, "Text1"},    // first, but disabled
    };
    for (const Case& c : cases) {
        form.buttonTab = c.buttonTab;
        form.buttonEnabled = c.buttonEnabled;
        form.show();
        const std::string focused = form.clientWidget()->window()->focusWidget()
                                        ? form.clientWidget()->window()->focusWidget()->objectName().toStdString()
                                        : "";
        EXPECT_EQ(focused, c.focused) << "button tab " << c.buttonTab;
        EXPECT_EQ(form.Command1->hasFocus(), std::string(c.focused) == "Command1");
        form.unload();
        Harness::settle();
    }
}

TEST_F(FocusTest, TabFollowsTheTabIndexesNotTheOrderOfBuilding) {
    form.buttonTab = 9;
    form.show();
    EXPECT_EQ(form.Text1->widget()->nextInFocusChain(), form.Text2->widget());
    EXPECT_EQ(form.Text2->widget()->nextInFocusChain(), form.Command1->widget());
}

TEST_F(FocusTest, ALaterShowKeepsTheFocusWhereTheChildLeftIt) {
    form.buttonTab = 9;
    form.show();
    form.Text2->setFocus();
    form.hide();
    form.show();
    EXPECT_TRUE(form.Text2->hasFocus());
    EXPECT_FALSE(form.Text1->hasFocus());
}

TEST_F(FocusTest, KeysTypedOnTheStageLandInTheFocusedBoxCyrillicIncluded) {
    form.buttonTab = 9;
    form.show();
    Stage& stage = h.desktop.stage();
    stage.show();
    QApplication::setActiveWindow(&stage);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&stage));
    form.show();  // in front again, now that the stage is active

    typeOn(&stage, QString::fromUtf8("бв7"));
    EXPECT_EQ(form.Text1->text(), "бв7");
    QTest::keyClick(stage.windowHandle(), Qt::Key_Tab);
    typeOn(&stage, QString::fromUtf8("ю"));
    EXPECT_EQ(form.Text2->text(), "ю") << "Tab moves to the next box in tab order";
    EXPECT_EQ(form.Text3->text(), "");
}

TEST_F(FocusTest, AnAutoSizedLabelTakesTheSizeOfItsTextAndKeepsItWhenMoved) {
    form.show();
    Label& label = *form.Label1;
    const int oneWidth = label.width();
    const int height = label.height();
    EXPECT_GT(oneWidth, 20) << "48 pt, not the design's 5 px";
    EXPECT_GT(height, 50);
    label.setCaption("жжж");
    EXPECT_GE(label.width(), 3 * oneWidth - 3);
    EXPECT_LE(label.width(), 3 * oneWidth + 3);
    EXPECT_EQ(label.height(), height);
    label.moveTo(200, 300);
    EXPECT_EQ(label.bounds(), (Bounds{200, 300, label.width(), height}));
}

TEST_F(FocusTest, TextBoxesCentreTheirTextWhenDesignedSo) {
    form.show();
    const auto* centred = static_cast<QLineEdit*>(form.Text1->widget());
    const auto* plain = static_cast<QLineEdit*>(form.Text2->widget());
    EXPECT_EQ(centred->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(plain->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST_F(FocusTest, AShapeWithoutBorderIsItsFillToTheEdge) {
    form.show();
    const QImage image = form.Shape1->widget()->grab().toImage();
    for (const QPoint p : {QPoint(0, 0), QPoint(19, 19), QPoint(10, 0), QPoint(10, 10)}) {
        EXPECT_EQ(image.pixelColor(p), QColor(255, 0, 0)) << p.x() << "," << p.y();
    }
}

// As the design's list boxes do, a list shows whole rows only, each a line of
// its font high, with its pictures inside the rows.
TEST_F(FocusTest, AListShowsWholeRowsALineOfItsFontHighWithItsPicturesInside) {
    form.show();
    const std::pair<Ctl<ListBox>*, int> lists[] = {{&form.List1, 903}, {&form.List2, 100}};
    for (const auto& [slot, designHeight] : lists) {
        ListBox& list = **slot;
        for (int i = 0; i < 40; ++i) list.addItem("Рисунок " + std::to_string(i));
        list.setPictureSize(32, 40);
        QPixmap picture(32, 40);
        picture.fill(Qt::red);
        list.setItemPicture(0, picture);
        const auto* widget = static_cast<QListWidget*>(list.widget());
        const int line = static_cast<int>(std::ceil(QFontMetricsF(widget->font()).height()));
        const int row = widget->visualItemRect(widget->item(0)).height();
        const int shown = widget->viewport()->height();
        EXPECT_EQ(row, line) << list.name();
        EXPECT_EQ(widget->visualItemRect(widget->item(1)).top(), row) << list.name();
        EXPECT_EQ(shown % row, 0) << list.name() << ": " << shown << " px of rows " << row << " px high";
        EXPECT_LE(list.height(), designHeight) << list.name();
        EXPECT_GT(list.height(), designHeight - row) << list.name();
        EXPECT_LT(widget->iconSize().height(), row) << list.name();
        EXPECT_NEAR(widget->iconSize().width(), widget->iconSize().height() * 32 / 40.0, 1) << list.name() << ": in proportion";
    }
}
