#include "canvas/ToolImages.h"

#include <QPainter>
#include <QPolygonF>

namespace canvas {

namespace {

QPixmap drawn(int width, int height, const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

}  // namespace

QPixmap circleImage() {
    return drawn(29, 29, [](QPainter& p) {
        p.setPen(QPen(Qt::black, 3));
        p.drawEllipse(QRectF(3, 3, 23, 23));
    });
}

QPixmap rectangleImage() {
    return drawn(37, 27, [](QPainter& p) {
        p.setPen(QPen(Qt::black, 3));
        p.drawRect(QRectF(3, 4, 31, 19));
    });
}

QPixmap pencilImage() {
    return drawn(17, 21, [](QPainter& p) {
        // A pencil standing on its point: wooden body, grey point, pink eraser.
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(255, 200, 0));
        p.drawRect(QRectF(5.5, 4.5, 6, 11));
        p.setBrush(QColor(255, 150, 170));
        p.drawRect(QRectF(5.5, 0.5, 6, 4));
        p.setBrush(QColor(230, 190, 140));
        p.drawPolygon(QPolygonF({QPointF(5.5, 15.5), QPointF(11.5, 15.5), QPointF(8.5, 20.5)}));
    });
}

}  // namespace canvas
