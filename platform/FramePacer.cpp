#include "platform/FramePacer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

namespace platform::framePacer {

namespace {

struct Pending {
    QPointer<QWidget> widget;
    QRect area;
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
void repaint(QWidget& widget, const QRect& area) {
    QWidget* window = widget.window();
    const QGraphicsProxyWidget* proxy = window->graphicsProxyWidget();
    if (!proxy || !proxy->scene()) return widget.update(area);
    const QRectF inScene = proxy->mapToScene(QRectF(widget.mapTo(window, area.topLeft()), area.size())).boundingRect();
    for (QGraphicsView* view : proxy->scene()->views()) {
        view->viewport()->update(view->mapFromScene(inScene).boundingRect().adjusted(-1, -1, 1, 1));
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
            part.area |= area;
            known = true;
        }
    }
    if (!known) parts.push_back({widget, area});
    // Once the changes of this pass are in, when the last frame is a frame ago.
    QTimer& timer = frameTimer();
    if (timer.isActive()) return;
    const qint64 since = lastFrame().isValid() ? lastFrame().elapsed() : kFrameMilliseconds;
    timer.start(static_cast<int>(std::max<qint64>(0, kFrameMilliseconds - since)));
}

}  // namespace platform::framePacer
