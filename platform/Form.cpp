#include "platform/Form.h"

#include <QGraphicsProxyWidget>
#include <QToolButton>
#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/Desktop.h"
#include "platform/FormFrame.h"

namespace platform {

Form::Form(Desktop& desktop, FormDesign design)
    : desktop_(desktop), design_(std::move(design)), backColour_(design_.backColour) {
    desktop_.registerForm(*this);
}

Form::~Form() = default;

Services& Form::services() const { return desktop_.services(); }
Form& Form::form(int number) const { return desktop_.form(number); }
void Form::message(std::string_view text) const { services().message.message(text); }
void Form::endProgram() const { desktop_.endProgram(); }

void Form::leaveProgram() const {
    desktop_.forgetKept();
    desktop_.endProgram();
}

ControlContext Form::context(std::string name) { return ControlContext{frame_->client(), std::move(name), services()}; }

void Form::ensureLoaded() {
    if (state_ == State::NotLoaded) load();
}

void Form::load() {
    state_ = State::Loading;
    backColour_ = design_.backColour;
    frame_ = new FormFrame(QString::fromStdString(design_.title), design_.frame == Frame::TitleBar, design_.clientWidth,
                           design_.clientHeight);
    frame_->setObjectName(QString("Form%1").arg(design_.number));
    applyBackColour(frame_->client(), backColour_);
    frame_->clientMouseDown = [this](const MouseArgs& args) { Form_MouseDown(args); };
    frame_->closePressed = [this] { closeBoxPressed(); };
    frame_->moveFocus = [this](bool next) { return moveFocus(next); };

    build();
    // Windowed controls stand above the windowless ones, in the order they were built.
    for (const auto& control : controls_) {
        if (control->windowed() && control->widget()) control->widget()->raise();
    }
    arrangeTabOrder();
    shownSinceLoad_ = false;

    proxy_ = desktop_.place(frame_);
    const QSize size = frame_->frameSize();
    switch (design_.placement) {
        case Placement::CoverStage: proxy_->setPos(0, 0); break;
        case Placement::Centred:
            proxy_->setPos((Stage::kWidth - size.width()) / 2, (Stage::kHeight - size.height()) / 2);
            break;
        case Placement::ClientAt: {
            const QPoint client = frame_->client()->pos();
            proxy_->setPos(design_.x - client.x(), design_.y - client.y());
            break;
        }
    }
    state_ = State::Loaded;
    Form_Load();
}

void Form::show() {
    ensureLoaded();
    if (!loaded()) return;  // the load handler ended the program
    visible_ = true;
    proxy_->setVisible(true);
    for (const auto& control : controls_) control->windowSeen(true);
    if (!shownSinceLoad_) {
        shownSinceLoad_ = true;
        focusFirstControl();
    }
    desktop_.bringToFront(proxy_);
}

void Form::hide() {
    ensureLoaded();
    if (!loaded()) return;  // the load handler ended the program
    visible_ = false;
    proxy_->setVisible(false);
    for (const auto& control : controls_) control->windowSeen(false);
}

void Form::backToMainWindow(Leave how) {
    constexpr int kMainWindow = 1;
    if (how == Leave::Hide) {
        hide();
    } else {
        unload();
    }
    form(kMainWindow).show();
}

void Form::unload() {
    if (!loaded()) return;
    state_ = State::Unloading;
    // Silence the widgets first: hiding them makes some emit (a list's row
    // change), and no handler may run on a window that is going away.
    frame_->blockSignals(true);
    for (QObject* child : frame_->findChildren<QObject*>()) child->blockSignals(true);
    for (const auto& control : controls_) control->shutDown();
    visible_ = false;
    proxy_->setVisible(false);
    tabOrder_.clear();
    std::vector<std::unique_ptr<Control>> controls = std::move(controls_);
    controls_.clear();
    for (ControlSlot* slot : slots_) slot->reset();
    QGraphicsProxyWidget* proxy = proxy_;
    proxy_ = nullptr;
    frame_ = nullptr;
    desktop_.discard(proxy, std::move(controls));
    state_ = State::NotLoaded;
    desktop_.formUnloaded();
}

void Form::setBackColour(ColourNumber colour) {
    ensureLoaded();
    if (!loaded()) return;
    backColour_ = colour;
    applyBackColour(frame_->client(), colour);
}

// A window whose design gives tab indexes takes the keyboard only in those
// controls, in that order; any other window in every control that takes the
// focus (buttons, lists, text boxes), top to bottom, then left to right.
void Form::arrangeTabOrder() {
    tabOrder_.clear();
    const bool designed = std::any_of(controls_.begin(), controls_.end(),
                                      [](const auto& control) { return control->tabIndex().has_value(); });
    for (const auto& control : controls_) {
        QWidget* widget = control->widget();
        if (!widget) continue;
        if (designed ? control->tabIndex().has_value() : (widget->focusPolicy() & Qt::TabFocus) != 0) {
            tabOrder_.push_back(control.get());
        }
    }
    std::stable_sort(tabOrder_.begin(), tabOrder_.end(), [designed](const Control* a, const Control* b) {
        if (designed) return *a->tabIndex() < *b->tabIndex();
        return std::pair(a->top(), a->left()) < std::pair(b->top(), b->left());
    });
    for (std::size_t i = 1; i < tabOrder_.size(); ++i) QWidget::setTabOrder(tabOrder_[i - 1]->widget(), tabOrder_[i]->widget());
}

void Form::focusFirstControl() {
    const auto first = std::find_if(tabOrder_.begin(), tabOrder_.end(),
                                    [](const Control* control) { return control->visible() && control->enabled(); });
    if (first != tabOrder_.end()) (*first)->setFocus();
}

bool Form::moveFocus(bool next) {
    std::vector<Control*> reachable;
    std::copy_if(tabOrder_.begin(), tabOrder_.end(), std::back_inserter(reachable),
                 [](const Control* control) { return control->visible() && control->enabled(); });
    if (reachable.empty()) return false;
    const auto here = std::find_if(reachable.begin(), reachable.end(), [](const Control* c) { return c->hasFocus(); });
    const auto count = static_cast<std::ptrdiff_t>(reachable.size());
    std::ptrdiff_t at = here == reachable.end() ? (next ? -1 : count) : here - reachable.begin();
    at = ((at + (next ? 1 : -1)) % count + count) % count;
    reachable[static_cast<std::size_t>(at)]->setFocus();
    return true;
}

QWidget* Form::clientWidget() const { return frame_ ? frame_->client() : nullptr; }

void Form::pressCloseBox() {
    if (frame_ && frame_->hasTitleBar()) frame_->closeBox()->click();
}

}  // namespace platform
