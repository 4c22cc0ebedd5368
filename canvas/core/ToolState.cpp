#include "canvas/core/ToolState.h"

#include <algorithm>
#include <cmath>

#include "canvas/core/Drawing.h"

namespace canvas {

void FillMarks::clear(int lastX, int lastY) {
    for (int y = 1; y <= lastY && y < kSize; ++y) {
        std::fill_n(flags_.begin() + static_cast<std::ptrdiff_t>(index(1, y)), std::min(lastX, kSize - 1), 0);
    }
}

int roundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

void ToolState::reset() {
    CurrentColor.reset();
    ShapeStep = 0;
    FirstX = FirstY = 0;
    RadiusSquared = 0;
    TargetColor = platform::kNoColour;
}

PixelRect ToolState::press(PixelBuffer& pixels, double x, double y, ColourNumber shapeColour, int canvasWidth,
                           int canvasHeight) {
    const int xi = roundHalfEven(x);
    const int yi = roundHalfEven(y);
    Marks.set(xi, yi);
    TargetColor = pixels.pixel(xi, yi);

    PixelRect changed;
    const ColourNumber current = currentAsColour();
    if (CurrentColor && isPen(current)) {
        changed = drawPressDot(pixels, xi, yi);
    } else if (shapeToolSelected()) {
        changed = shapeStep(pixels, xi, yi, shapeColour, canvasWidth, canvasHeight);
    } else {
        changed = floodFill(pixels, xi, yi, current, scratch_);  // seeded at the mark just set
    }
    // The span fill sets no marks of its own, so the pressed pixel's is the only
    // one to clear; marks outside 1..1100 are never read and may stay.
    if (xi >= 1 && yi >= 1 && xi <= kFillAreaLimit && yi <= kFillAreaLimit) Marks.clearOne(xi, yi);
    return changed;
}

PixelRect ToolState::shapeStep(PixelBuffer& pixels, int x, int y, ColourNumber shapeColour, int canvasWidth,
                               int canvasHeight) {
    if (ShapeStep == 0) {
        FirstX = x;
        FirstY = y;
        ShapeStep = 1;
        return {};
    }
    ShapeStep = 0;
    if (CurrentColor == CircleTool) {
        const long long dx = x - FirstX, dy = y - FirstY;
        RadiusSquared = dx * dx + dy * dy;
        return drawRing(pixels, FirstX, FirstY, RadiusSquared, canvasWidth, canvasHeight, shapeColour);
    }
    return drawRectangleOutline(pixels, FirstX, FirstY, x, y, shapeColour);
}

PixelRect ToolState::move(PixelBuffer& pixels, int buttons, int x, int y) const {
    if (buttons != 1 || !CurrentColor || !isPen(*CurrentColor)) return {};
    return drawPenStamp(pixels, x, y, penColour(*CurrentColor));
}

}  // namespace canvas
