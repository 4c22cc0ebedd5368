#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Control.h"
#include "platform/Controls.h"
#include "platform/PictureBox.h"

class QGraphicsProxyWidget;
class QWidget;

namespace platform {

class Desktop;
class FormFrame;

enum class Frame { None, TitleBar };
enum class Placement {
    CoverStage,  // frameless, at (0, 0) of the stage
    Centred,     // the whole window centred on the stage
    ClientAt,    // the client area's top-left at (x, y)
};

// The design values of a window itself.
struct FormDesign {
    int number = 0;  // 5 for Form5
    std::string title;
    Frame frame = Frame::None;
    int clientWidth = 1280;
    int clientHeight = 1024;
    Placement placement = Placement::CoverStage;
    int x = 0, y = 0;
    ColourNumber backColour = kDefaultControlColour;
};

// A window of the program. The object lives for the whole run and keeps its own
// variables; its controls exist only while it is loaded. Loading builds them
// from the design values (build) and then runs Form_Load.
class Form {
public:
    enum class State { NotLoaded, Loading, Loaded, Unloading };

    Form(Desktop& desktop, FormDesign design);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    int number() const { return design_.number; }
    const std::string& title() const { return design_.title; }
    State state() const { return state_; }
    bool loaded() const { return state_ == State::Loading || state_ == State::Loaded; }
    bool visible() const { return visible_; }

    // Loads if needed, makes visible, brings to the front and activates. Modeless.
    void show();
    // Invisible, still loaded.
    void hide();
    // Destroys the controls; a window that is not loaded is left alone.
    void unload();
    // How a window steps aside for the main window: hidden, keeping its state,
    // or unloaded, to start afresh when it is shown again.
    enum class Leave { Hide, Unload };
    // Steps aside as asked and shows the main window.
    void backToMainWindow(Leave how);
    // Loads a window that is not loaded and leaves it hidden; a window that is
    // unloading is not loaded again by anything its unload sets off.
    void ensureLoaded();

    ColourNumber backColour() const { return backColour_; }
    void setBackColour(ColourNumber colour);

    // The window's client area, for tests and for printing; null when not loaded.
    QWidget* clientWidget() const;
    // Pushes the title-bar close box, as the user would.
    void pressCloseBox();

    void addSlot(ControlSlot& slot) { slots_.push_back(&slot); }
    Services& services() const;

    // Builds one control from its design values into its slot; used while the
    // window builds itself (and by components it owns).
    template <class T, class Design>
    T& add(Ctl<T>& slot, std::string name, const Design& design) {
        T* control = adopt(std::make_unique<T>(context(std::move(name)), design));
        slot.attach(control);
        return *control;
    }
    template <class T, class Design>
    T& add(CtlArray<T>& slot, std::string name, int index, const Design& design) {
        T* control = adopt(std::make_unique<T>(context(name + "(" + std::to_string(index) + ")"), design));
        slot.attach(index, control);
        return *control;
    }

protected:
    virtual void build() = 0;
    virtual void Form_Load() {}
    virtual void Form_MouseDown(const MouseArgs&) {}
    // What the title-bar close box does; closing unloads the window unless the
    // window says otherwise.
    virtual void closeBoxPressed() { unload(); }

    Desktop& desktop() const { return desktop_; }
    Form& form(int number) const;
    void message(std::string_view text) const;
    void endProgram() const;
    // The program's own exit buttons: the drawings kept safe are forgotten, then the program ends.
    void leaveProgram() const;

private:
    ControlContext context(std::string name);
    template <class T>
    T* adopt(std::unique_ptr<T> control) {
        T* raw = control.get();
        controls_.push_back(std::move(control));
        return raw;
    }
    void load();
    // Tab moves through the controls in the order of their tab indexes.
    void arrangeTabOrder();
    // The first control in tab order that can take the focus gets it.
    void focusFirstControl();
    bool moveFocus(bool next);

    Desktop& desktop_;
    FormDesign design_;
    State state_ = State::NotLoaded;
    bool visible_ = false;
    bool shownSinceLoad_ = false;
    std::vector<Control*> tabOrder_;  // the loaded controls the keyboard reaches, in order
    ColourNumber backColour_;
    std::vector<ControlSlot*> slots_;
    std::vector<std::unique_ptr<Control>> controls_;
    FormFrame* frame_ = nullptr;
    QGraphicsProxyWidget* proxy_ = nullptr;
};

}  // namespace platform
