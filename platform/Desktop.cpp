#include "platform/Desktop.h"

#include <QAbstractScrollArea>
#include <QBackingStore>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QImage>
#include <QKeyEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>
#include <QStyleOptionGraphicsItem>
#include <QTimer>
#include <QTouchEvent>
#include <stdexcept>

#include "platform/Control.h"
#include "platform/Form.h"
#include "platform/ModalScope.h"
#include "platform/SafeKeeping.h"
#include "platform/core/Pages.h"

namespace platform {

namespace {

// Sees every press and key on the stage before the window concerned does. A
// press on the bare stage goes no further: the scene would take the keyboard
// from the window in front, and with it Esc and Tab, though nothing there can
// use it. Keys that move between controls show where the keyboard is; a press
// hides it again.
class InputWatcher : public QObject {
public:
    InputWatcher(QGraphicsScene& scene, Desktop& desktop) : QObject(&scene), scene_(scene), desktop_(desktop) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            if (movesFocus(static_cast<QKeyEvent*>(event)->key())) desktop_.stage().setFocusCues(true);
            return false;
        }
        if (event->type() != QEvent::GraphicsSceneMousePress && event->type() != QEvent::GraphicsSceneMouseDoubleClick)
            return false;
        desktop_.stage().setFocusCues(false);
        const auto* press = static_cast<QGraphicsSceneMouseEvent*>(event);
        QGraphicsItem* item = scene_.itemAt(press->scenePos(), QTransform());
        if (!item) return true;
        if (auto* proxy = dynamic_cast<QGraphicsProxyWidget*>(item->topLevelItem())) desktop_.pressedOn(proxy);
        return false;
    }

private:
    static bool movesFocus(int key) {
        switch (key) {
            case Qt::Key_Tab: case Qt::Key_Backtab:
            case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down: return true;
            default: return false;
        }
    }
    QGraphicsScene& scene_;
    Desktop& desktop_;
};

// A window on the stage. Qt draws an item over the bounding box of all that is
// exposed of it, which for small changes far apart (title letters recoloured
// within one frame) takes in everything between them: this draws each exposed
// part by itself.
class WindowProxy : public QGraphicsProxyWidget {
public:
    // More separate parts than this are drawn in one go.
    static constexpr int kMostPartsDrawnApart = 8;

    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override {
        const QRegion exposed = painter->paintEngine() ? painter->paintEngine()->systemClip() : QRegion();
        const QRect bounds = exposed.boundingRect();
        qint64 area = 0;
        for (const QRect& part : exposed) area += qint64(part.width()) * part.height();
        if (exposed.rectCount() < 2 || exposed.rectCount() > kMostPartsDrawnApart ||
            2 * area > qint64(bounds.width()) * bounds.height()) {
            return QGraphicsProxyWidget::paint(painter, option, widget);
        }
        const QTransform toItem = painter->deviceTransform().inverted();
        QStyleOptionGraphicsItem partOption(*option);
        for (const QRect& part : exposed) {
            partOption.exposedRect = toItem.mapRect(QRectF(part)) & option->exposedRect;
            if (!partOption.exposedRect.isEmpty()) QGraphicsProxyWidget::paint(painter, &partOption, widget);
        }
    }
};

}  // namespace

Stage::Stage(QGraphicsScene* scene) : QGraphicsView(scene) {
    setObjectName("stage");
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setBackgroundBrush(Qt::black);
    setAlignment(Qt::AlignCenter);
    setSceneRect(0, 0, kWidth, kHeight);
    // The windows are opaque rectangles that never overlap their painting with
    // antialiased edges: a small change repaints just its own box.
    setOptimizationFlags(QGraphicsView::DontAdjustForAntialiasing | QGraphicsView::DontSavePainterState);
    // The view paints every pixel itself (the scene's black, then the windows):
    // filling the viewport with its palette first would only be painted over.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_AcceptTouchEvents);
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

// A window paints every pixel of its box, so black under it would only be
// painted over: most repaints lie inside one window, and the first frame's
// black is mostly hidden by the welcome window. Black goes a stage pixel into
// each window's edge, which a scaled stage may draw on a fraction of a pixel.
void Stage::drawBackground(QPainter* painter, const QRectF& rect) {
    QRegion black(rect.toAlignedRect());
    for (const QGraphicsItem* window : windows) {
        if (!window->isVisible()) continue;
        const QRectF box = window->sceneBoundingRect();
        if (box.contains(rect)) return;
        black -= box.adjusted(1, 1, -1, -1).toRect();
    }
    for (const QRect& part : black) painter->fillRect(part, backgroundBrush());
}

void Stage::prepareFrameBuffer() {
    create();
    QBackingStore* store = backingStore();
    if (!store) return;
    // The size the first paint asks for, so that it keeps this buffer.
    store->resize(size());
    auto* image = dynamic_cast<QImage*>(store->paintDevice());
    if (!image || image->isNull()) return;
    fetchPages(image->bits(), static_cast<std::size_t>(image->sizeInBytes()));
}

void Stage::paintEvent(QPaintEvent* event) {
    QGraphicsView::paintEvent(event);
    if (framed_) return;
    framed_ = true;
    // The frame is sent once this paint has returned; the server then takes some
    // tens of milliseconds, on a processor of its own, to show it.
    constexpr int kShowingMilliseconds = 100;
    QTimer::singleShot(kShowingMilliseconds, this, [this] {
        if (firstFrameShown) firstFrameShown();
    });
}

void Stage::setFocusCues(bool shown) {
    if (focusCues_ == shown) return;
    focusCues_ = shown;
    // Only the controls that hold their window's keys draw a frame.
    for (const QGraphicsItem* window : windows) {
        const auto* proxy = dynamic_cast<const QGraphicsProxyWidget*>(window);
        QWidget* focused = proxy && proxy->widget() ? proxy->widget()->focusWidget() : nullptr;
        if (!focused) continue;
        focused->update();
        if (auto* area = qobject_cast<QAbstractScrollArea*>(focused)) area->viewport()->update();
    }
}

bool focusCuesShown(const QWidget* control) {
    const QGraphicsProxyWidget* proxy = control->window()->graphicsProxyWidget();
    const QGraphicsScene* scene = proxy ? proxy->scene() : nullptr;
    if (!scene) return false;
    for (const QGraphicsView* view : scene->views()) {
        if (const auto* stage = dynamic_cast<const Stage*>(view)) return stage->focusCues();
    }
    return false;
}

// No window of ours handles touch itself: a finger stands for the mouse, so
// every control answers a tap as a click and the canvas a drawn finger as a drag.
bool Stage::viewportEvent(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::TouchBegin && type != QEvent::TouchUpdate && type != QEvent::TouchEnd) {
        return QGraphicsView::viewportEvent(event);
    }
    auto* touch = static_cast<QTouchEvent*>(event);
    if (touch->points().isEmpty()) return true;
    const QEventPoint& finger = touch->points().front();
    const QEvent::Type mouse = type == QEvent::TouchBegin ? QEvent::MouseButtonPress
                               : type == QEvent::TouchEnd ? QEvent::MouseButtonRelease
                                                          : QEvent::MouseMove;
    const Qt::MouseButtons held = type == QEvent::TouchEnd ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent as(mouse, finger.position(), finger.scenePosition(), finger.globalPosition(), Qt::LeftButton, held,
                   touch->modifiers());
    QCoreApplication::sendEvent(viewport(), &as);
    event->accept();
    return true;
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
    scene_->installEventFilter(new InputWatcher(*scene_, *this));
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

void Desktop::forgetKept() {
    for (SafeKeeping* keeping : keepings_) keeping->forget();
}

void Desktop::endProgram() {
    for (auto& [number, form] : forms_) form->unload();
}

QGraphicsProxyWidget* Desktop::place(QWidget* root) {
    auto* proxy = new WindowProxy;
    proxy->setWidget(root);
    // The window takes the keyboard on the stage, whatever its widget says.
    proxy->setFocusPolicy(Qt::StrongFocus);
    scene_->addItem(proxy);
    proxy->setVisible(false);
    stage_->windows.push_back(proxy);
    return proxy;
}

void Desktop::bringToFront(QGraphicsProxyWidget* proxy) {
    proxy->setZValue(++topZ_);
    proxy->setFocus();
}

void Desktop::pressedOn(QGraphicsProxyWidget* proxy) {
    if (proxy->zValue() < topZ_) bringToFront(proxy);
}

void Desktop::discard(QGraphicsProxyWidget* proxy, std::vector<std::unique_ptr<Control>> controls) {
    proxy->setVisible(false);
    discarded_.push_back({proxy, std::move(controls)});
    scheduleCollect();
}

void Desktop::scheduleCollect() {
    if (collectScheduled_) return;
    collectScheduled_ = true;
    QMetaObject::invokeMethod(
        stage_.get(),
        [this] {
            collectScheduled_ = false;
            if (ModalScope::active()) {
                ModalScope::afterModal([this] { scheduleCollect(); });
                return;
            }
            collectDiscarded();
        },
        Qt::QueuedConnection);
}

void Desktop::collectDiscarded() {
    auto pending = std::move(discarded_);
    discarded_.clear();
    for (auto& d : pending) {
        std::erase(stage_->windows, d.proxy);
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
