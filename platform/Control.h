#pragma once
#include <QColor>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/Font.h"
#include "platform/core/Colour.h"
#include "platform/core/Services.h"

class QWidget;
class QMouseEvent;

namespace platform {

class Form;

// Place and size in pixels of the window's client area.
struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Bounds&) const = default;
};

// Bounds given in twips, as some windows were laid out.
constexpr Bounds twips(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

// Mouse buttons as a set of bits, as the handlers receive them.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

// A press, move or release: the buttons held, the modifier keys and the
// position in the receiving control's own pixels.
struct MouseArgs {
    int buttons = 0;
    int shift = 0;
    double x = 0;
    double y = 0;
};
MouseArgs mouseArgs(const QMouseEvent& event, int originX = 0, int originY = 0);

// What every control is built with: its window's client area, its name and the services.
struct ControlContext {
    QWidget* parent;
    std::string name;
    Services& services;
};

// A control of a window. It lives while its window is loaded; the widget it shows
// belongs to the window's widget tree and goes with it.
class Control {
public:
    Control(QWidget* widget, std::string name);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    QWidget* widget() const { return widget_; }

    Bounds bounds() const;
    virtual void setBounds(const Bounds& bounds);
    int left() const { return bounds().left; }
    int top() const { return bounds().top; }
    int width() const { return bounds().width; }
    int height() const { return bounds().height; }

    bool visible() const;
    void setVisible(bool visible);
    bool enabled() const;
    void setEnabled(bool enabled);
    void setToolTip(const std::string& text);
    // Moves the control, keeping its size.
    void moveTo(int left, int top);

    // The control's place in its window's tab order; none for a control that
    // Tab does not reach. The first in that order has the keyboard focus when
    // the window is first shown.
    std::optional<int> tabIndex() const { return tabIndex_; }
    // Gives the control the keyboard focus; in a window that is not in front
    // it is the control the keys go to once it is.
    void setFocus();
    // True when the keys typed in its window go to this control.
    bool hasFocus() const;

    // Controls with a window of their own (buttons, boxes) stand above the
    // windowless ones (labels, shapes, lines, images) whatever their order.
    virtual bool windowed() const { return true; }
    // Called when the window unloads, before the control is destroyed.
    virtual void shutDown() {}
    // Called when the window is hidden (false) or shown (true).
    virtual void windowSeen(bool) {}

protected:
    // For controls whose widget must know the control: made after the base.
    void adopt(QWidget* widget);
    void setTabIndex(std::optional<int> index) { tabIndex_ = index; }

private:
    QWidget* widget_;
    std::string name_;
    std::optional<int> tabIndex_;
};

// A colour number as Qt takes it.
QColor toQColor(ColourNumber colour);
// Sets a widget's background colour (and, for text, its foreground).
void applyBackColour(QWidget* widget, ColourNumber colour);
void applyForeColour(QWidget* widget, ColourNumber colour);

// The slot of a window's control. Reaching through it loads the window first,
// so another window can read or write the control of a window not yet loaded.
class ControlSlot {
public:
    explicit ControlSlot(Form& form);
    virtual ~ControlSlot() = default;
    virtual void reset() = 0;

protected:
    void loadForm() const;

private:
    Form& form_;
};

template <class T>
class Ctl : public ControlSlot {
public:
    explicit Ctl(Form& form) : ControlSlot(form) {}
    T* operator->() const { return &get(); }
    T& operator*() const { return get(); }
    T& get() const {
        loadForm();
        if (!control_) throw std::logic_error("control was not built by its window");
        return *control_;
    }
    void reset() override { control_ = nullptr; }
    void attach(T* control) { control_ = control; }

private:
    T* control_ = nullptr;
};

// A control array; its indexes need not be contiguous: Picture4(1234).
template <class T>
class CtlArray : public ControlSlot {
public:
    explicit CtlArray(Form& form) : ControlSlot(form) {}
    T& operator()(int index) const {
        loadForm();
        const auto it = controls_.find(index);
        if (it == controls_.end()) throw std::out_of_range("no control with index " + std::to_string(index));
        return *it->second;
    }
    const std::map<int, T*>& items() const {
        loadForm();
        return controls_;
    }
    void reset() override { controls_.clear(); }
    void attach(int index, T* control) { controls_[index] = control; }

private:
    std::map<int, T*> controls_;
};

}  // namespace platform
