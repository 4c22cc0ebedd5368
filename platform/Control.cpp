#include "platform/Control.h"

#include <QMouseEvent>
#include <QWidget>

#include "platform/Form.h"

namespace platform {

MouseArgs mouseArgs(const QMouseEvent& event, int originX, int originY) {
    int buttons = 0;
    if (event.buttons() & Qt::LeftButton) buttons |= kLeftButton;
    if (event.buttons() & Qt::RightButton) buttons |= kRightButton;
    if (event.buttons() & Qt::MiddleButton) buttons |= kMiddleButton;
    int shift = 0;
    if (event.modifiers() & Qt::ShiftModifier) shift |= 1;
    if (event.modifiers() & Qt::ControlModifier) shift |= 2;
    if (event.modifiers() & Qt::AltModifier) shift |= 4;
    const QPointF p = event.position();
    return {buttons, shift, p.x() - originX, p.y() - originY};
}

Control::Control(QWidget* widget, std::string name) : widget_(widget), name_(std::move(name)) {
    if (widget_) widget_->setObjectName(QString::fromStdString(name_));
}

void Control::adopt(QWidget* widget) {
    widget_ = widget;
    widget_->setObjectName(QString::fromStdString(name_));
}

Bounds Control::bounds() const {
    if (!widget_) return {};
    const QRect g = widget_->geometry();
    return {g.x(), g.y(), g.width(), g.height()};
}

void Control::setBounds(const Bounds& b) {
    if (widget_) widget_->setGeometry(b.left, b.top, std::max(0, b.width), std::max(0, b.height));
}

bool Control::visible() const { return widget_ && !widget_->isHidden(); }
void Control::setVisible(bool visible) {
    if (widget_) widget_->setVisible(visible);
}
bool Control::enabled() const { return widget_ && widget_->isEnabled(); }
void Control::setEnabled(bool enabled) {
    if (widget_) widget_->setEnabled(enabled);
}
void Control::setToolTip(const std::string& text) {
    if (widget_) widget_->setToolTip(QString::fromStdString(text));
}

void Control::moveTo(int left, int top) {
    if (widget_) widget_->move(left, top);
}

void Control::setFocus() {
    if (widget_) widget_->setFocus(Qt::OtherFocusReason);
}

bool Control::hasFocus() const { return widget_ && widget_->window()->focusWidget() == widget_; }

QColor toQColor(ColourNumber c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

void applyBackColour(QWidget* widget, ColourNumber colour) {
    QPalette p = widget->palette();
    const QColor c = toQColor(colour);
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Button, c);
    p.setColor(QPalette::Base, c);
    widget->setAutoFillBackground(true);  // before the palette, which widgets watch for
    widget->setPalette(p);
}

void applyForeColour(QWidget* widget, ColourNumber colour) {
    QPalette p = widget->palette();
    const QColor c = toQColor(colour);
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, c);
    p.setColor(QPalette::Text, c);
    widget->setPalette(p);
}

ControlSlot::ControlSlot(Form& form) : form_(form) { form.addSlot(*this); }

void ControlSlot::loadForm() const { form_.ensureLoaded(); }

}  // namespace platform
