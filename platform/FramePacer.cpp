#include "platform/FramePacer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <utility>
#include <vector>

namespace platform::framePacer {

namespace {

struct Pending {
    QPointer<QWidget> widget;
    QRegion area;
};

std::vector<Pending>& pending() {
    static std::vector<Pending> parts;
    return parts;
}

// Since the last frame was shown; invalid before the first.
QElapsedTimer& lastFrame() {
    static QElapsedTimer clock;
    return clock;
}

// Straight to the views that show the widget: an update through the widget
// would reach its window's item, which keeps one dirty box for all its parts.
void repaint(QWidget& widget, const QRegion& area) {
    QWidget* window = widget.window();
    const QGraphicsProxyWidget* proxy = window->graphicsProxyWidget();
    if (!proxy || !proxy->scene()) return widget.update(area);
    for (const QRect& part : area) {
        const QRectF inScene =
            proxy->mapToScene(QRectF(widget.mapTo(window, part.topLeft()), part.size())).boundingRect();
        for (QGraphicsView* view : proxy->scene()->views()) {
            view->viewport()->update(view->mapFromScene(inScene).boundingRect().adjusted(-1, -1, 1, 1));
        }
    }
}

void showFrame() {
    lastFrame().start();
    const std::vector<Pending> parts = std::exchange(pending(), {});
    for (const Pending& part : parts) {
        if (part.widget) repaint(*part.widget, part.area);
    }
}

QTimer& frameTimer() {
    // Owned by the application, so it goes with it.
    static QPointer<QTimer> timer;
    if (!timer) {
        timer = new QTimer(QCoreApplication::instance());
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, timer, showFrame);
    }
    return *timer;
}

}  // namespace

void update(QWidget* widget, const QRect& area) {
    if (!widget->isVisible()) return;  // painted whole when it shows
    std::vector<Pending>& parts = pending();
    bool known = false;
    for (Pending& part : parts) {
        if (part.widget == widget) {
            part.area += area;
            known = true;
        }
    }
    if (!known) parts.push_back({widget, area});
    // Once the changes of this pass are in, when the last frame is (nearly) a
    // frame ago: a timer that wakes once a frame comes a little early as often
    // as late, and waiting out the difference would wake the program twice.
    QTimer& timer = frameTimer();
    if (timer.isActive()) return;
    const qint64 since = lastFrame().isValid() ? lastFrame().elapsed() : kFrameMilliseconds;
    const qint64 wait = kFrameMilliseconds - since;
    timer.start(wait <= kFrameMilliseconds / 4 ? 0 : static_cast<int>(wait));
}

}  // namespace platform::framePacer
