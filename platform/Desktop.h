#pragma once
#include <QGraphicsView>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/core/Services.h"

class QGraphicsProxyWidget;
class QGraphicsScene;

namespace platform {

class Control;
class Form;

// The program's screen: a 1280 x 1024 stage on which the windows stand. On a
// monitor of another size it is scaled uniformly to fit and framed with black
// bars; mouse positions are mapped back by the view.
class Stage : public QGraphicsView {
public:
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 1024;

    explicit Stage(QGraphicsScene* scene);
    std::function<void()> closeRequested;
    // Called once, a moment after the first frame has been drawn and sent to the
    // screen: work that can wait goes there, so that neither that frame nor the
    // screen's server, which still has to show it, waits for any of it.
    std::function<void()> firstFrameShown;
    double scale() const { return transform().m11(); }
    // The windows that stand on the stage, shown or not.
    std::vector<const QGraphicsItem*> windows;

    // Whether the control with the keys shows its frame: only once the keyboard
    // has moved between controls (Tab, the arrows), until the mouse is pressed
    // again, as desktops do; a child who only clicks never sees it.
    bool focusCues() const { return focusCues_; }
    void setFocusCues(bool shown);

    // The first frame writes every pixel of a fresh buffer as large as the
    // screen, whose pages the kernel would hand over one fault at a time: most
    // of that frame's cost. Called before the stage is first shown, this makes
    // the buffer and fetches its pages in one call (fetchPages).
    void prepareFrameBuffer();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    // A finger on a touch screen: its first point pressed, moved and released as the mouse's left button.
    bool viewportEvent(QEvent* event) override;

private:
    bool focusCues_ = false;
    bool framed_ = false;
};

// The stage's focusCues() for a control on it; none off the stage.
bool focusCuesShown(const QWidget* control);

// The window set's home: knows every window by number, owns the stage and
// the services, and ends the program when the last window is unloaded.
class SafeKeeping;

class Desktop {
public:
    explicit Desktop(Services services);
    ~Desktop();

    Services& services() { return services_; }
    Stage& stage() { return *stage_; }

    void registerForm(Form& form);
    Form& form(int number) const;
    const std::map<int, Form*>& forms() const { return forms_; }

    // Unloads every loaded window, hidden ones too.
    void endProgram();
    // True once the last loaded window has been unloaded.
    bool ended() const { return ended_; }
    // Called once, when the program has ended (the application quits its loop).
    std::function<void()> onEnded;

    // The drawings kept safe between runs (SafeKeeping); the program's own exit
    // buttons forget them all, so the next start begins afresh.
    void addKeeping(SafeKeeping& keeping) { keepings_.push_back(&keeping); }
    void removeKeeping(SafeKeeping& keeping) { std::erase(keepings_, &keeping); }
    void forgetKept();

    // For the windows: put a loaded window's widget on the stage, bring it
    // forward, and take it away again when it unloads.
    QGraphicsProxyWidget* place(QWidget* root);
    void bringToFront(QGraphicsProxyWidget* proxy);
    // A press on a window that stands behind another brings it to the front, as
    // on a desktop; the press then goes on to what was pressed.
    void pressedOn(QGraphicsProxyWidget* proxy);
    void discard(QGraphicsProxyWidget* proxy, std::vector<std::unique_ptr<Control>> controls);
    void formUnloaded();
    // Destroys what unloaded windows left behind. It runs from the event loop once
    // the handler that unloaded has returned, and never inside a nested loop
    // (a modal message), where a handler further out may still use it.
    void collectDiscarded();

private:
    Services services_;
    std::unique_ptr<QGraphicsScene> scene_;
    std::unique_ptr<Stage> stage_;
    std::map<int, Form*> forms_;
    double topZ_ = 0;
    bool ended_ = false;
    std::vector<SafeKeeping*> keepings_;
    struct Discarded {
        QGraphicsProxyWidget* proxy;
        std::vector<std::unique_ptr<Control>> controls;
    };
    std::vector<Discarded> discarded_;
    bool collectScheduled_ = false;
    void scheduleCollect();
};

}  // namespace platform
