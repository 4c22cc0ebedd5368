#include "canvas/ToolImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <functional>

#include "canvas/core/Palette.h"

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

namespace canvas {

namespace {

QColor qColour(platform::ColourNumber c) { return QColor(platform::redOf(c), platform::greenOf(c), platform::blueOf(c)); }

// Draws a path twice, wide in white and then narrow in black, so it stands out
// on light and on dark pixels alike.
void haloed(QPainter& p, const QPainterPath& path, const QBrush& fill = Qt::NoBrush) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setBrush(fill);
    p.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

constexpr int kCursorSize = 32;

ToolCursor bucket(platform::ColourNumber paint) {
    // The paint lands where the drop's point is: the bottom-left corner.
    return {drawn(kCursorSize, kCursorSize,
                  [&](QPainter& p) {
                      QPainterPath pail;
                      pail.addPolygon(QPolygonF({QPointF(11, 6), QPointF(25, 6), QPointF(23, 22), QPointF(13, 22), QPointF(11, 6)}));
                      QTransform tilt;
                      tilt.translate(18, 14);
                      tilt.rotate(-35);
                      tilt.translate(-18, -14);
                      haloed(p, tilt.map(pail), QColor(200, 200, 200));
                      QPainterPath handle;
                      handle.moveTo(11, 6);
                      handle.cubicTo(11, -1, 25, -1, 25, 6);
                      haloed(p, tilt.map(handle));
                      QPainterPath drop;
                      drop.moveTo(3, 29);
                      drop.cubicTo(1, 24, 5, 20, 7, 16);
                      drop.cubicTo(10, 21, 11, 27, 3, 29);
                      haloed(p, drop, qColour(paint));
                  }),
            3, 29};
}

ToolCursor pencil(platform::ColourNumber ink) {
    // The point in the bottom-left corner, the pencil leaning up to the right.
    return {drawn(kCursorSize, kCursorSize,
                  [&](QPainter& p) {
                      QPainterPath body;
                      body.addPolygon(QPolygonF({QPointF(8, 19), QPointF(24, 3), QPointF(29, 8), QPointF(13, 24), QPointF(8, 19)}));
                      haloed(p, body, qColour(ink));
                      QPainterPath wood;
                      wood.addPolygon(QPolygonF({QPointF(8, 19), QPointF(13, 24), QPointF(2, 30), QPointF(8, 19)}));
                      haloed(p, wood, QColor(230, 190, 140));
                      QPainterPath point;
                      point.addPolygon(QPolygonF({QPointF(4.5, 26), QPointF(6, 27.5), QPointF(2, 30), QPointF(4.5, 26)}));
                      haloed(p, point, qColour(ink));
                  }),
            2, 30};
}

ToolCursor ring() {
    return {drawn(kCursorSize, kCursorSize,
                  [](QPainter& p) {
                      QPainterPath path;
                      path.addEllipse(QPointF(16, 16), 10, 10);
                      path.moveTo(13, 16);
                      path.lineTo(19, 16);
                      path.moveTo(16, 13);
                      path.lineTo(16, 19);
                      haloed(p, path);
                  }),
            16, 16};
}

ToolCursor squareCross() {
    return {drawn(kCursorSize, kCursorSize,
                  [](QPainter& p) {
                      QPainterPath path;
                      path.addRect(QRectF(8, 8, 16, 16));
                      path.moveTo(16, 2);
                      path.lineTo(16, 30);
                      path.moveTo(2, 16);
                      path.lineTo(30, 16);
                      haloed(p, path);
                  }),
            16, 16};
}

}  // namespace

QPixmap undoImage() {
    return drawn(28, 28, [](QPainter& p) {
        // Three quarters of a circle, open at the top left, ending in a head
        // that points back to the left.
        QPainterPath arc;
        arc.arcMoveTo(QRectF(5, 6, 18, 18), 160);
        arc.arcTo(QRectF(5, 6, 18, 18), 160, -250);
        p.setPen(QPen(QColor(0, 70, 160), 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(arc);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 70, 160));
        p.drawPolygon(QPolygonF({QPointF(1, 11), QPointF(11, 7), QPointF(9, 17)}));
    });
}

ToolCursor toolCursor(const std::optional<platform::ColourNumber>& selection) {
    const platform::ColourNumber current = selection.value_or(platform::kBlack);
    if (selection && isPen(current)) return pencil(penColour(current));
    if (selection == CircleTool) return ring();
    if (selection == RectangleTool) return squareCross();
    return bucket(current);
}

}  // namespace canvas
