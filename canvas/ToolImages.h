#pragma once
#include <QPixmap>

namespace canvas {

// The pictures on the circle and rectangle buttons and the pencil beside the pens.
QPixmap circleImage();
QPixmap rectangleImage();
QPixmap pencilImage();

}  // namespace canvas
