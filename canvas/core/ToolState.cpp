#include "canvas/core/ToolState.h"

#include <algorithm>
#include <cmath>

#include "canvas/core/Drawing.h"

namespace canvas {

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
    TargetColor = pixels.pixel(xi, yi);
    // A stroke whose release never came ends here.
    if (history) history->close(pixels);

    PixelRect changed;
    const ColourNumber current = currentAsColour();
    if (CurrentColor && isPen(current)) {
        // The stroke starts with the dot and stays open until the button is up.
        if (history) history->touch(pixels, {xi, yi, 2, 2});
        changed = drawPressDot(pixels, xi, yi);
    } else if (shapeToolSelected()) {
        changed = shapeStep(pixels, xi, yi, shapeColour, canvasWidth, canvasHeight);
    } else {
        scratch_.recordRuns = history != nullptr;
        changed = floodFill(pixels, xi, yi, current, scratch_);
        if (history && !changed.empty()) history->recordFill(pixels, scratch_.runs, TargetColor, current);
    }
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
    PixelRect changed;
    if (CurrentColor == CircleTool) {
        const long long dx = x - FirstX, dy = y - FirstY;
        RadiusSquared = dx * dx + dy * dy;
        if (history) {
            // The ring stays within 1.05 radii of its centre.
            const int reach = static_cast<int>(std::sqrt(1.1 * static_cast<double>(RadiusSquared))) + 2;
            history->touch(pixels, {FirstX - reach, FirstY - reach, 2 * reach + 1, 2 * reach + 1});
        }
        changed = drawRing(pixels, FirstX, FirstY, RadiusSquared, canvasWidth, canvasHeight, shapeColour);
    } else {
        if (history) history->touch(pixels, {FirstX, FirstY - 1, x - FirstX + 1, y - FirstY + 2});
        changed = drawRectangleOutline(pixels, FirstX, FirstY, x, y, shapeColour);
    }
    if (history) history->close(pixels);
    return changed;
}

PixelRect ToolState::move(PixelBuffer& pixels, int buttons, int x, int y) {
    if (buttons != 1 || !CurrentColor || !isPen(*CurrentColor)) return {};
    if (history) history->touch(pixels, {x - 1, y - 1, 4, 4});
    return drawPenStamp(pixels, x, y, penColour(*CurrentColor));
}

void ToolState::release(const PixelBuffer& pixels) {
    if (history) history->close(pixels);
}

}  // namespace canvas
