#include "platform/Controls.h"

#include "platform/Desktop.h"
#include "platform/FramePacer.h"
#include "platform/LargeText.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QPen>
#include <QTextLayout>
#include <cmath>

namespace platform {

namespace {

Qt::Alignment toQt(Alignment a) {
    switch (a) {
        case Alignment::Right: return Qt::AlignRight | Qt::AlignTop;
        case Alignment::Centre: return Qt::AlignHCenter | Qt::AlignTop;
        case Alignment::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

QString q(const std::string& s) { return QString::fromStdString(s); }

// Text as the windows were laid out for: words wrap at the width and lines follow
// each other at the font's height, with no extra leading between them (some of
// the free faces have a large one, which would push the last lines out of their box).
// Sets the lines of a layout at this width and returns their total height;
// shared by the drawing and by wrappedLines(), so both see the same breaks.
qreal layOutWrapped(QTextLayout& layout, int width, Qt::Alignment alignment) {
    QTextOption option(alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}


void placeWidget(QWidget* w, const Bounds& b, bool visible) {
    w->setGeometry(b.left, b.top, b.width, b.height);
    w->setVisible(visible);
}

class LabelWidget : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()>* click = nullptr;
    std::function<void(const MouseArgs&)>* mouseDown = nullptr;

    // A recolour only repaints the label: its palette stays as designed, since
    // a palette change notifies and restyles the widget, which a title letter
    // recoloured a hundred times a second cannot afford.
    void setTextColour(ColourNumber colour) {
        const QColor text = toQColor(colour);
        if (text == textColour_) return;
        textColour_ = text;
        if (frameShape() != QFrame::NoFrame) applyForeColour(this, colour);  // the frame's colour too
        // Large text repaints only where it has ink: much less than its box.
        framePacer::update(this, !large_.ink().isNull() && frameShape() == QFrame::NoFrame ? large_.ink() : rect());
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (!pixmap().isNull()) return QLabel::paintEvent(event);  // an image
        QPainter painter(this);
        if (frameShape() != QFrame::NoFrame) drawFrame(&painter);
        const qreal scale = std::max<qreal>(1, painter.deviceTransform().m11());
        if (LargeText::isLarge(fontPixels(), scale)) {
            const QColor background = paintsBackground() ? palette().color(QPalette::Window) : QColor(Qt::transparent);
            return large_.draw(painter, contentsRect(), scale, text(), font(), alignment(), textColour_, background);
        }
        painter.setPen(textColour_);
        drawWrappedText(painter, contentsRect(), text(), alignment());
    }
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::FontChange) fontPixels_ = -1;
        if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
            setAttribute(Qt::WA_OpaquePaintEvent, paintsBackground());
        QLabel::changeEvent(event);
    }
    void mousePressEvent(QMouseEvent* e) override {
        pressed_ = true;
        if (mouseDown && *mouseDown) (*mouseDown)(mouseArgs(*e));
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (pressed_ && rect().contains(e->position().toPoint()) && click && *click) (*click)();
        pressed_ = false;
    }

private:
    int fontPixels() {
        if (fontPixels_ < 0) fontPixels_ = QFontInfo(font()).pixelSize();
        return fontPixels_;
    }
    // Large text over a plain colour paints that colour itself, with the text,
    // in one copy: Qt would fill the box and then blend the text over it.
    bool paintsBackground() {
        return frameShape() == QFrame::NoFrame && pixmap().isNull() && autoFillBackground() &&
               palette().color(QPalette::Window).alpha() == 255 && LargeText::isLarge(fontPixels(), 1);
    }

    QColor textColour_;
    int fontPixels_ = -1;  // the font's size, once asked
    LargeText large_;
    bool pressed_ = false;
};

// The control the keys of its window go to (whether or not the window is in
// front) shows it once the keyboard is in use.
bool showsFocusFrame(const QWidget* widget) {
    return widget->window()->focusWidget() == widget && focusCuesShown(widget);
}

// The frame of the control that has the keyboard: a black line inside a white
// one, so it shows on every colour a control can take.

void drawFocusFrame(QPainter& painter, const QRect& bounds) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 4));
    painter.drawRect(bounds.adjusted(3, 3, -4, -4));
    painter.setPen(QPen(Qt::black, 2, Qt::DashLine));
    painter.drawRect(bounds.adjusted(3, 3, -4, -4));
    painter.restore();
}

// Lines of one pixel along a rectangle's edges: one colour on the top and left,
// another on the bottom and right.
void drawEdge(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    painter.fillRect(r.left(), r.top(), r.width(), 1, topLeft);
    painter.fillRect(r.left(), r.top(), 1, r.height(), topLeft);
    painter.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
    painter.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
}

// A command button as the windows were designed with it: a flat face in the
// button's own colour inside a thin raised edge, light above and to the left,
// dark below and to the right, that sinks while the button is held down. The
// desktop's style would shade the colour into a pale gradient instead.
class ButtonWidget : public QPushButton {
public:
    explicit ButtonWidget(QWidget* parent) : QPushButton(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QColor face = palette().color(QPalette::Button);
        painter.fillRect(rect(), face);
        const bool down = isDown();
        const QColor light = Qt::white, dark(64, 64, 64);
        const QColor halfLight = QColor::fromRgbF((face.redF() + 1) / 2, (face.greenF() + 1) / 2, (face.blueF() + 1) / 2);
        const QColor halfDark = face.darker(150);
        drawEdge(painter, rect(), down ? dark : light, down ? light : dark);
        drawEdge(painter, rect().adjusted(1, 1, -1, -1), down ? halfDark : halfLight, down ? halfLight : halfDark);

        // What stands on the face moves with it as it sinks.
        const QRect content = rect().adjusted(3, 3, -3, -3).translated(down ? 1 : 0, down ? 1 : 0);
        if (!icon().isNull()) {
            const QPixmap picture = icon().pixmap(iconSize(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
            QRect place(QPoint(), picture.deviceIndependentSize().toSize());
            place.moveCenter(content.center());
            painter.drawPixmap(place, picture);
        }
        if (!text().isEmpty()) {
            if (isEnabled()) {
                painter.setPen(palette().color(QPalette::ButtonText));
            } else {
                // Dark grey over a white shadow, which reads on a light face and a dark one alike.
                painter.setPen(Qt::white);
                drawWrappedText(painter, content.translated(1, 1), text(), Qt::AlignCenter);
                painter.setPen(QColor(80, 80, 80));
            }
            drawWrappedText(painter, content, text(), Qt::AlignCenter);
        }
        if (showsFocusFrame(this)) drawFocusFrame(painter, rect());
    }
    // Enter presses the focused button as Space and a click do.
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

class LineEditWidget : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::function<void(int&)>* keyPress = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override {
        QLineEdit::paintEvent(event);
        if (!showsFocusFrame(this)) return;
        QPainter painter(this);
        drawFocusFrame(painter, rect());
    }
    void keyPressEvent(QKeyEvent* e) override {
        const QString text = e->text();
        if (keyPress && *keyPress && text.size() == 1) {
            int code = text.at(0).unicode();
            (*keyPress)(code);
            if (code == 0) return;
        }
        QLineEdit::keyPressEvent(e);
    }
};

}  // namespace

void drawWrappedText(QPainter& painter, const QRect& area, const QString& text, Qt::Alignment alignment) {
    QTextLayout layout(text, painter.font());
    const qreal height = layOutWrapped(layout, area.width(), alignment);
    qreal top = area.top();
    if (alignment & Qt::AlignVCenter) {
        // Centred by what shows, from the capitals' tops to the last line's
        // descenders: the room some faces keep above their capitals would
        // push a large caption's descenders out of its button.
        const QFontMetricsF metrics(painter.font());
        const qreal aboveCapitals = std::max<qreal>(0, metrics.ascent() - metrics.capHeight());
        top += (area.height() - (height - aboveCapitals)) / 2 - aboveCapitals;
    }
    layout.draw(&painter, QPointF(area.left(), top));
}

// --- CommandButton -------------------------------------------------------------

CommandButton::CommandButton(const ControlContext& c, const ButtonDesign& d)
    : Control(new ButtonWidget(c.parent), c.name), backColour_(d.backColour.value_or(kDefaultControlColour)) {
    button_ = static_cast<QPushButton*>(widget());
    setFont(d.font);
    setCaption(d.caption);
    button_->setFocusPolicy(Qt::TabFocus);
    setTabIndex(d.tabIndex);
    // A standard button keeps the standard face, whatever colour its window takes.
    applyBackColour(button_, backColour_);
    if (!d.picture.isNull()) {
        button_->setIcon(QIcon(d.picture));
        button_->setIconSize(QSize(d.bounds.width - 8, d.bounds.height - 8));
    }
    button_->setEnabled(d.enabled);
    if (!d.toolTip.empty()) button_->setToolTip(q(d.toolTip));
    placeWidget(button_, d.bounds, d.visible);
    QObject::connect(button_, &QPushButton::clicked, button_, [this] {
        if (Click) Click();
    });
}

// A caption may show otherwise than designed (the ornaments of a symbol face),
// so the design text is kept beside what the widget shows.
void CommandButton::setCaption(const std::string& caption) {
    caption_ = caption;
    button_->setText(displayText(font_, caption_));
}
void CommandButton::setBackColour(ColourNumber colour) {
    backColour_ = colour;
    applyBackColour(button_, colour);
}
void CommandButton::setFont(const Font& font) {
    font_ = font;
    button_->setFont(toQFont(font_));
    button_->setText(displayText(font_, caption_));
}
void CommandButton::click() {
    if (button_->isEnabled()) button_->click();
}

// --- Label ---------------------------------------------------------------------

Label::Label(const ControlContext& c, const LabelDesign& d)
    : Control(new LabelWidget(c.parent), c.name),
      autoSize_(d.autoSize),
      foreColour_(d.foreColour),
      backColour_(d.backColour.value_or(kDefaultControlColour)) {
    auto* w = static_cast<LabelWidget*>(widget());
    label_ = w;
    w->click = &Click;
    w->mouseDown = &MouseDown;
    w->setTextFormat(Qt::PlainText);
    w->setWordWrap(true);
    w->setAlignment(d.middle ? (toQt(d.alignment) & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter : toQt(d.alignment));
    setFont(d.font);
    setCaption(d.caption);
    if (d.border) w->setFrameStyle(QFrame::Box | QFrame::Plain);
    applyForeColour(w, d.foreColour);
    w->setTextColour(d.foreColour);
    if (d.backColour) applyBackColour(w, *d.backColour);
    placeWidget(w, d.bounds, d.visible);
    fitText();
}

// One line of text at the font's height, without leading, as labels draw it.
void Label::fitText() {
    if (!autoSize_) return;
    label_->setWordWrap(false);
    const QFontMetricsF metrics(label_->font());
    const QMargins margins = label_->contentsMargins();
    const int width = static_cast<int>(std::ceil(metrics.horizontalAdvance(label_->text())));
    const int height = static_cast<int>(std::ceil(metrics.height()));
    label_->resize(width + margins.left() + margins.right(), height + margins.top() + margins.bottom());
}

void Label::setCaption(const std::string& caption) {
    caption_ = caption;
    label_->setText(displayText(font_, caption_));
    fitText();
}
void Label::setForeColour(ColourNumber colour) {
    foreColour_ = colour;
    static_cast<LabelWidget*>(label_)->setTextColour(colour);
}
void Label::setBackColour(ColourNumber colour) {
    backColour_ = colour;
    applyBackColour(label_, colour);
}
void Label::setFont(const Font& font) {
    font_ = font;
    label_->setFont(toQFont(font_));
    label_->setText(displayText(font_, caption_));
    fitText();
}

// --- TextBox -------------------------------------------------------------------

TextBox::TextBox(const ControlContext& c, const TextBoxDesign& d) : Control(new LineEditWidget(c.parent), c.name) {
    auto* w = static_cast<LineEditWidget*>(widget());
    edit_ = w;
    w->keyPress = &KeyPress;
    w->setFont(toQFont(d.font));
    w->setText(q(d.text));
    w->setAlignment(toQt(d.alignment) & Qt::AlignHorizontal_Mask);
    applyBackColour(w, d.backColour);
    applyForeColour(w, d.foreColour);
    placeWidget(w, d.bounds, d.visible);
    setTabIndex(d.tabIndex);
    QObject::connect(w, &QLineEdit::textChanged, w, [this] {
        if (Change) Change();
    });
}

std::string TextBox::text() const { return edit_->text().toStdString(); }
void TextBox::setText(const std::string& text) { edit_->setText(q(text)); }
void TextBox::setForeColour(ColourNumber colour) { applyForeColour(edit_, colour); }
void TextBox::setBackColour(ColourNumber colour) { applyBackColour(edit_, colour); }

// --- ListBox -------------------------------------------------------------------

namespace {

// A list that takes the keyboard without choosing anything: the item view would
// make its first row current on focus, and a change of row is a choice (Click).
class ListWidget : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void focusInEvent(QFocusEvent* event) override {
        if (currentRow() < 0) {
            QAbstractScrollArea::focusInEvent(event);
            viewport()->update();
            return;
        }
        QListWidget::focusInEvent(event);
    }
    void paintEvent(QPaintEvent* event) override {
        QListWidget::paintEvent(event);
        if (!showsFocusFrame(this)) return;
        QPainter painter(viewport());
        drawFocusFrame(painter, viewport()->rect());
    }
};

// Every row of a list exactly one line of the list's font high.
class RowDelegate : public QStyledItemDelegate {
public:
    RowDelegate(QObject* parent, int rowHeight) : QStyledItemDelegate(parent), rowHeight_(rowHeight) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), rowHeight_};
    }

private:
    int rowHeight_;
};

int lineHeight(const QFont& font) { return static_cast<int>(std::ceil(QFontMetricsF(font).height())); }

}  // namespace

ListBox::ListBox(const ControlContext& c, const ListBoxDesign& d) : Control(new ListWidget(c.parent), c.name) {
    list_ = static_cast<QListWidget*>(widget());
    list_->setFont(toQFont(d.font));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformItemSizes(true);
    list_->setItemDelegate(new RowDelegate(list_, lineHeight(list_->font())));
    // Cut to whole rows, as the list boxes of the design are.
    Bounds bounds = d.bounds;
    const int frame = 2 * list_->frameWidth();
    bounds.height = std::max(0, (bounds.height - frame) / rowHeight()) * rowHeight() + frame;
    placeWidget(list_, bounds, d.visible);
    QObject::connect(list_, &QListWidget::currentRowChanged, list_, [this](int) {
        if (Click) Click();
    });
}

void ListBox::addItem(const std::string& text) { list_->addItem(q(text)); }
int ListBox::count() const { return list_->count(); }
std::string ListBox::item(int index) const {
    const QListWidgetItem* it = list_->item(index);
    return it ? it->text().toStdString() : std::string();
}
int ListBox::listIndex() const { return list_->currentRow(); }
void ListBox::setListIndex(int index) { list_->setCurrentRow(index); }
int ListBox::rowHeight() const { return lineHeight(list_->font()); }

namespace {
constexpr int kHasPictureRole = Qt::UserRole + 1;
}

void ListBox::setPictureSize(int width, int height) {
    // A pixel of the row's height is kept clear above and below the picture.
    const int high = std::min(height, rowHeight() - 2);
    list_->setIconSize(QSize(std::max(1, width * high / std::max(1, height)), high));
    QPixmap blank(list_->iconSize());
    blank.fill(Qt::transparent);
    for (int i = 0; i < list_->count(); ++i) {
        QListWidgetItem* it = list_->item(i);
        if (!it->data(kHasPictureRole).toBool()) it->setIcon(QIcon(blank));
    }
}

void ListBox::setItemPicture(int index, const QPixmap& picture) {
    QListWidgetItem* it = list_->item(index);
    if (!it) return;
    // Centred in a canvas of the list's picture size, so texts stay in line.
    const QSize size = list_->iconSize();
    QPixmap framed(size);
    framed.fill(Qt::transparent);
    QPainter painter(&framed);
    const QPixmap fitted = picture.width() > size.width() || picture.height() > size.height()
                               ? picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                               : picture;
    painter.drawPixmap((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2, fitted);
    painter.end();
    it->setIcon(QIcon(framed));
    it->setData(kHasPictureRole, true);
}

bool ListBox::hasItemPicture(int index) const {
    const QListWidgetItem* it = list_->item(index);
    return it && it->data(kHasPictureRole).toBool();
}

// --- Image ---------------------------------------------------------------------

Image::Image(const ControlContext& c, const ImageDesign& d)
    : Control(new LabelWidget(c.parent), c.name), stretch_(d.stretch) {
    auto* w = static_cast<LabelWidget*>(widget());
    label_ = w;
    w->click = &Click;
    w->setScaledContents(d.stretch);
    placeWidget(w, d.bounds, d.visible);
    if (!d.picture.isNull()) setPicture(d.picture);
}

void Image::setPicture(const QPixmap& pixmap) {
    if (pixmap.isNull() || !stretch_) {
        label_->setPixmap(pixmap);
        // An image that is not stretched takes the size of its picture.
        if (!pixmap.isNull()) label_->resize(pixmap.size());
        return;
    }
    // A stretched picture is kept only at the size it is shown, made here once:
    // the label would keep the whole picture beside the copy it scales it to,
    // and scale it as it first paints.
    const qreal ratio = label_->devicePixelRatioF();
    QPixmap shown = pixmap.scaled(label_->contentsRect().size() * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    shown.setDevicePixelRatio(ratio);
    label_->setPixmap(shown);
}

// --- Shape ---------------------------------------------------------------------

class ShapeWidget : public QWidget {
public:
    ShapeWidget(QWidget* parent, const ShapeDesign& d) : QWidget(parent), design(d) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    ShapeDesign design;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing, design.kind == ShapeKind::RoundedRectangle);
        const int bw = std::max(0, design.borderWidth);
        // The border lies inside the shape's bounds.
        const QRectF r = QRectF(rect()).adjusted(bw / 2.0, bw / 2.0, -bw / 2.0, -bw / 2.0);
        p.setPen(bw > 0 ? QPen(toQColor(design.borderColour), bw) : QPen(Qt::NoPen));
        p.setBrush(design.fillColour ? QBrush(toQColor(*design.fillColour)) : Qt::NoBrush);
        if (design.kind == ShapeKind::RoundedRectangle) {
            const double radius = std::min(std::min(r.width(), r.height()) / 6.0, 24.0);
            p.drawRoundedRect(r, radius, radius);
        } else {
            p.drawRect(r);
        }
    }
};

Shape::Shape(const ControlContext& c, const ShapeDesign& d) : Control(new ShapeWidget(c.parent, d), c.name) {
    shape_ = static_cast<ShapeWidget*>(widget());
    placeWidget(shape_, d.bounds, d.visible);
}

std::optional<ColourNumber> Shape::fillColour() const { return shape_->design.fillColour; }
void Shape::setFillColour(ColourNumber colour) {
    shape_->design.fillColour = colour;
    shape_->update();
}
void Shape::setBounds(const Bounds& bounds) {
    shape_->design.bounds = bounds;
    Control::setBounds(bounds);
}

// --- Line ----------------------------------------------------------------------

class LineWidget : public QWidget {
public:
    explicit LineWidget(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }
    QPointF from, to;
    QColor colour;
    int width = 1;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing, width > 1);
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(from, to);
    }
};

Line::Line(const ControlContext& c, const LineDesign& d) : Control(new LineWidget(c.parent), c.name), design_(d) {
    line_ = static_cast<LineWidget*>(widget());
    line_->colour = toQColor(d.colour);
    line_->width = std::max(1, d.width);
    place();
    line_->setVisible(d.visible);
}

void Line::setEnds(int x1, int y1, int x2, int y2) {
    design_.x1 = x1;
    design_.y1 = y1;
    design_.x2 = x2;
    design_.y2 = y2;
    place();
}

void Line::setColour(ColourNumber colour) {
    design_.colour = colour;
    line_->colour = toQColor(colour);
    line_->update();
}

// The widget covers the line's box, widened by the pen so round ends fit.
void Line::place() {
    const int pad = line_->width;
    const int left = std::min(design_.x1, design_.x2) - pad;
    const int top = std::min(design_.y1, design_.y2) - pad;
    line_->setGeometry(left, top, std::abs(design_.x2 - design_.x1) + 2 * pad + 1,
                       std::abs(design_.y2 - design_.y1) + 2 * pad + 1);
    line_->from = QPointF(design_.x1 - left + 0.5, design_.y1 - top + 0.5);
    line_->to = QPointF(design_.x2 - left + 0.5, design_.y2 - top + 0.5);
    line_->update();
}

// --- Timer ---------------------------------------------------------------------

Timer::Timer(const ControlContext& c, const TimerDesign& d)
    : Control(nullptr, c.name), interval_(d.interval), enabled_(d.enabled) {
    source_ = c.services.timers.create([this] {
        if (Tick) Tick();
    });
    source_->set(interval_, enabled_);
}

void Timer::setInterval(int ms) {
    interval_ = ms;
    if (source_) source_->set(interval_, enabled_);
}

void Timer::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (source_) source_->set(interval_, enabled_);
}

void Timer::shutDown() { source_.reset(); }

void Timer::windowSeen(bool seen) {
    if (source_) source_->setUnseen(!seen);
}

// --- Wrapped text ----------------------------------------------------------------

std::vector<TextLine> wrappedLines(const QString& text, const QFont& font, int width) {
    QTextLayout layout(text, font);
    layOutWrapped(layout, width, Qt::AlignLeft);
    std::vector<TextLine> lines;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        lines.push_back({line.textStart(), line.textLength(), line.y(), line.height(), line.naturalTextWidth()});
    }
    return lines;
}

}  // namespace platform
