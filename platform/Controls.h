#pragma once
// The ordinary controls of a window. Each is built from a design struct that
// holds its design values; the setters change them while the window is loaded.
#include <QPixmap>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Control.h"

class QFont;
class QLabel;
class QPainter;
class QRect;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace platform {

enum class Alignment { Left, Right, Centre };

struct ButtonDesign {
    Bounds bounds;
    std::string caption;
    Font font;
    // A coloured (graphical) button when set; the standard button face otherwise.
    std::optional<ColourNumber> backColour;
    QPixmap picture;  // drawn on the button face
    bool enabled = true;
    bool visible = true;
    std::string toolTip;
    std::optional<int> tabIndex;
};

class CommandButton : public Control {
public:
    CommandButton(const ControlContext& context, const ButtonDesign& design);
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    ColourNumber backColour() const { return backColour_; }
    void setBackColour(ColourNumber colour);
    void setFont(const Font& font);
    // Pushes the button as a click would (also when a test drives the window).
    void click();

    std::function<void()> Click;

private:
    QPushButton* button_;
    ColourNumber backColour_;
    std::string caption_;
    Font font_;
};

struct LabelDesign {
    Bounds bounds;
    std::string caption;
    Font font;
    ColourNumber foreColour = kBlack;
    // Opaque with this background when set; transparent otherwise.
    std::optional<ColourNumber> backColour;
    Alignment alignment = Alignment::Left;
    // Centred in the label's height, from the capitals' tops to the descenders,
    // rather than set from its top.
    bool middle = false;
    bool border = false;
    bool visible = true;
    // The label takes the size of its text on one line, whatever the bounds say.
    bool autoSize = false;
};

class Label : public Control {
public:
    Label(const ControlContext& context, const LabelDesign& design);
    bool windowed() const override { return false; }
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    ColourNumber foreColour() const { return foreColour_; }
    void setForeColour(ColourNumber colour);
    // Reads the design background of a transparent label as the window's.
    ColourNumber backColour() const { return backColour_; }
    void setBackColour(ColourNumber colour);  // makes the label opaque
    void setFont(const Font& font);

    std::function<void()> Click;
    std::function<void(const MouseArgs&)> MouseDown;

private:
    void fitText();
    QLabel* label_;
    bool autoSize_;
    ColourNumber foreColour_;
    ColourNumber backColour_;
    std::string caption_;
    Font font_;
};

struct TextBoxDesign {
    Bounds bounds;
    std::string text;
    Font font;
    ColourNumber foreColour = kBlack;
    ColourNumber backColour = kWhite;
    Alignment alignment = Alignment::Left;
    bool visible = true;
    std::optional<int> tabIndex;
};

class TextBox : public Control {
public:
    TextBox(const ControlContext& context, const TextBoxDesign& design);
    std::string text() const;
    void setText(const std::string& text);
    void setForeColour(ColourNumber colour);
    void setBackColour(ColourNumber colour);

    // A typed character; the handler may set it to 0 to swallow the key.
    std::function<void(int& keyAscii)> KeyPress;
    std::function<void()> Change;

private:
    QLineEdit* edit_;
};

struct ListBoxDesign {
    Bounds bounds;
    Font font;
    bool visible = true;
};

// A list of one row per item, each as high as a line of its font; its height
// is cut to whole rows, so no row shows only in part.

class ListBox : public Control {
public:
    ListBox(const ControlContext& context, const ListBoxDesign& design);
    void addItem(const std::string& text);
    int count() const;
    std::string item(int index) const;
    // The selected item, -1 for none. Setting it runs Click, as a user's choice does.
    int listIndex() const;
    void setListIndex(int index);

    // A small picture beside each item's text, made smaller to fit in its row
    // when it is higher. Every item keeps an empty picture of that size until
    // its own is set, so rows do not move as pictures come.
    void setPictureSize(int width, int height);
    int rowHeight() const;
    void setItemPicture(int index, const QPixmap& picture);
    bool hasItemPicture(int index) const;

    std::function<void()> Click;

private:
    QListWidget* list_;
};

struct ImageDesign {
    Bounds bounds;
    QPixmap picture;
    bool stretch = false;
    bool visible = true;
};

class Image : public Control {
public:
    Image(const ControlContext& context, const ImageDesign& design);
    bool windowed() const override { return false; }
    void setPicture(const QPixmap& picture);

    std::function<void()> Click;

private:
    QLabel* label_;
    bool stretch_;
};

enum class ShapeKind { Rectangle, RoundedRectangle };

struct ShapeDesign {
    Bounds bounds;
    ShapeKind kind = ShapeKind::Rectangle;
    std::optional<ColourNumber> fillColour;  // solid fill when set, transparent otherwise
    ColourNumber borderColour = kBlack;
    int borderWidth = 1;  // 0 for a shape without border
    bool visible = true;
};

class ShapeWidget;
// A drawn rectangle; it takes no mouse input, presses go to what lies beneath.
class Shape : public Control {
public:
    Shape(const ControlContext& context, const ShapeDesign& design);
    bool windowed() const override { return false; }
    std::optional<ColourNumber> fillColour() const;
    void setFillColour(ColourNumber colour);
    void setBounds(const Bounds& bounds) override;

private:
    ShapeWidget* shape_;
};

struct LineDesign {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ColourNumber colour = kBlack;
    int width = 1;
    bool visible = true;
};

class LineWidget;
// A straight line between two points of the client area; takes no mouse input.
class Line : public Control {
public:
    Line(const ControlContext& context, const LineDesign& design);
    bool windowed() const override { return false; }
    int x1() const { return design_.x1; }
    int y1() const { return design_.y1; }
    int x2() const { return design_.x2; }
    int y2() const { return design_.y2; }
    void setEnds(int x1, int y1, int x2, int y2);
    void setColour(ColourNumber colour);

private:
    void place();
    LineWidget* line_;
    LineDesign design_;
};

struct TimerDesign {
    int interval = 0;
    bool enabled = true;
};

// Ticks on the user-interface thread while enabled, also while its window is
// hidden; stops for good when its window unloads.
class Timer : public Control {
public:
    Timer(const ControlContext& context, const TimerDesign& design);
    bool windowed() const override { return false; }
    int interval() const { return interval_; }
    void setInterval(int ms);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    void shutDown() override;
    void windowSeen(bool seen) override;

    std::function<void()> Tick;

private:
    std::unique_ptr<TimerSource> source_;
    int interval_;
    bool enabled_;
};

// One line of a text as labels and button captions set it.
struct TextLine {
    int start = 0;      // index of its first character in the text
    int length = 0;     // characters it holds, the blanks that end it included
    double top = 0;     // from the top of the text
    double height = 0;  // the font's height, no leading
    double width = 0;   // of what it shows, the blanks that end it left out
};

// The lines word wrap makes of a text at this width in this font, one under the
// other: exactly what labels and button captions draw.
std::vector<TextLine> wrappedLines(const QString& text, const QFont& font, int width);

// Draws a text in those lines into an area, in the painter's font and pen: from
// the area's top, or centred in its height when asked.
void drawWrappedText(QPainter& painter, const QRect& area, const QString& text, Qt::Alignment alignment);

}  // namespace platform
