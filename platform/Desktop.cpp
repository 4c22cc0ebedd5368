#include "platform/Desktop.h"

#include <QCloseEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <stdexcept>

#include "platform/Control.h"
#include "platform/Form.h"

namespace platform {

Stage::Stage(QGraphicsScene* scene) : QGraphicsView(scene) {
    setObjectName("stage");
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setBackgroundBrush(Qt::black);
    setAlignment(Qt::AlignCenter);
    setSceneRect(0, 0, kWidth, kHeight);
    setWindowTitle(QString::fromUtf8("Пятнушки"));
    resize(kWidth, kHeight);
}

void Stage::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    const double s = std::min(static_cast<double>(viewport()->width()) / kWidth,
                              static_cast<double>(viewport()->height()) / kHeight);
    setTransform(QTransform::fromScale(s, s));
    centerOn(kWidth / 2.0, kHeight / 2.0);
}

void Stage::closeEvent(QCloseEvent* event) {
    // Closing the program's screen from the desktop ends the program cleanly.
    event->ignore();
    if (closeRequested) closeRequested();
}

Desktop::Desktop(Services services)
    : services_(services), scene_(std::make_unique<QGraphicsScene>(0, 0, Stage::kWidth, Stage::kHeight)) {
    scene_->setBackgroundBrush(Qt::black);
    stage_ = std::make_unique<Stage>(scene_.get());
    stage_->closeRequested = [this] { endProgram(); };
}

Desktop::~Desktop() {
    collectDiscarded();
    stage_.reset();
}

void Desktop::registerForm(Form& form) { forms_[form.number()] = &form; }

Form& Desktop::form(int number) const {
    const auto it = forms_.find(number);
    if (it == forms_.end()) throw std::out_of_range("no window Form" + std::to_string(number));
    return *it->second;
}

void Desktop::endProgram() {
    for (auto& [number, form] : forms_) form->unload();
}

QGraphicsProxyWidget* Desktop::place(QWidget* root) {
    QGraphicsProxyWidget* proxy = scene_->addWidget(root);
    proxy->setVisible(false);
    return proxy;
}

void Desktop::bringToFront(QGraphicsProxyWidget* proxy) {
    proxy->setZValue(++topZ_);
    proxy->setFocus();
}

void Desktop::discard(QGraphicsProxyWidget* proxy, std::vector<std::unique_ptr<Control>> controls) {
    proxy->setVisible(false);
    // The controls may be in the middle of their own handler (a button that
    // unloads its window), so they are destroyed once the event has been handled.
    discarded_.push_back({proxy, std::move(controls)});
    QMetaObject::invokeMethod(stage_.get(), [this] { collectDiscarded(); }, Qt::QueuedConnection);
}

void Desktop::collectDiscarded() {
    auto pending = std::move(discarded_);
    discarded_.clear();
    for (auto& d : pending) {
        scene_->removeItem(d.proxy);
        delete d.proxy;  // and with it the window's widgets
        d.controls.clear();
    }
}

void Desktop::formUnloaded() {
    for (const auto& [number, form] : forms_) {
        if (form->loaded()) return;
    }
    if (ended_) return;
    ended_ = true;
    if (onEnded) onEnded();
}

}  // namespace platform
