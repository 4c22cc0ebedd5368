#pragma once
#include <QPixmap>
#include <optional>

#include "platform/core/Colour.h"

namespace canvas {

// The pictures on the circle and rectangle buttons and the pencil beside the pens.
QPixmap circleImage();
QPixmap rectangleImage();
QPixmap pencilImage();

// The arrow turning back to the left on the undo button.
QPixmap undoImage();

// The mouse pointer over the canvas for a selection: a bucket pouring the fill
// colour, a pencil of the pen's colour, a ring for the circle, a cross in a
// square for the rectangle. Outlined in white and black so it shows on any colour.
struct ToolCursor {
    QPixmap picture;
    int hotX = 0, hotY = 0;  // the pixel a press lands on
};
ToolCursor toolCursor(const std::optional<platform::ColourNumber>& selection);

}  // namespace canvas
