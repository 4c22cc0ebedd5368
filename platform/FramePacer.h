#pragma once

#include <QRect>

class QWidget;

namespace platform {

// Holds the repaints of something that changes faster than anyone can see (a
// title letter recoloured a hundred times a second) to one frame every
// kFrameMilliseconds. Each frame repaints only the parts that changed; a part
// changed twice within a frame is painted once.
namespace framePacer {

constexpr int kFrameMilliseconds = 40;

// Repaints this part of a visible widget with the next frame.
void update(QWidget* widget, const QRect& area);

}  // namespace framePacer

}  // namespace platform
