#include "canvas/core/Drawing.h"

#include <algorithm>
#include <cmath>

namespace canvas {

namespace {

// The part of a rectangle that lies on the canvas.
PixelRect onCanvas(const PixelBuffer& pixels, PixelRect r) {
    const int left = std::max(r.x, 0), top = std::max(r.y, 0);
    const int right = std::min(r.x + r.width, pixels.width()), bottom = std::min(r.y + r.height, pixels.height());
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

PixelRect fillBlock(PixelBuffer& pixels, PixelRect block, ColourNumber colour) {
    const PixelRect r = onCanvas(pixels, block);
    for (int y = r.y; y < r.y + r.height; ++y) {
        for (int x = r.x; x < r.x + r.width; ++x) pixels.setPixel(x, y, colour);
    }
    return r;
}

}  // namespace

PixelRect drawPressDot(PixelBuffer& pixels, int x, int y) { return fillBlock(pixels, {x, y, 2, 2}, platform::kBlack); }

PixelRect drawPenStamp(PixelBuffer& pixels, int x, int y, ColourNumber colour) {
    return fillBlock(pixels, {x - 1, y - 1, 4, 4}, colour);
}

PixelRect drawRing(PixelBuffer& pixels, int centreX, int centreY, long long radiusSquared, int width, int height,
                   ColourNumber colour) {
    const double r2 = static_cast<double>(radiusSquared);
    const double low = r2 - r2 / 10;
    const double high = r2 + r2 / 10;
    const int lastX = std::min(width, pixels.width() - 1);
    const int lastY = std::min(height, pixels.height() - 1);
    PixelRect changed;
    // Row by row, the columns in the ring form at most two runs either side of
    // the centre, found from the squared distances instead of testing every pixel.
    for (int cy = 1; cy <= lastY; ++cy) {
        const double dy = cy - centreY;
        const double lo = low - dy * dy;   // dx * dx must exceed this
        const double hi = high - dy * dy;  // and stay below this
        if (hi <= 0) continue;
        long long outer = static_cast<long long>(std::sqrt(hi));
        while (outer >= 0 && static_cast<double>(outer * outer) >= hi) --outer;
        while (static_cast<double>((outer + 1) * (outer + 1)) < hi) ++outer;
        long long inner = 0;
        if (lo >= 0) {
            inner = static_cast<long long>(std::sqrt(lo));
            while (static_cast<double>(inner * inner) <= lo) ++inner;
            while (inner > 0 && static_cast<double>((inner - 1) * (inner - 1)) > lo) --inner;
        }
        if (inner > outer) continue;
        auto run = [&](long long from, long long to) {  // columns from..to, clipped to 1..lastX
            const long long a = std::max<long long>(from, 1), b = std::min<long long>(to, lastX);
            if (a > b) return;
            for (long long cx = a; cx <= b; ++cx) pixels.setPixel(static_cast<int>(cx), cy, colour);
            changed = changed.united({static_cast<int>(a), cy, static_cast<int>(b - a + 1), 1});
        };
        run(centreX + inner, centreX + outer);
        run(centreX - outer, centreX - std::max<long long>(inner, 1));
    }
    return changed;
}

PixelRect drawRectangleOutline(PixelBuffer& pixels, int x1, int y1, int x2, int y2, ColourNumber colour) {
    if (x2 <= x1 || y2 <= y1) return {};
    PixelRect changed;
    const int w = x2 - x1 + 1, h = y2 - y1 + 1;
    changed = changed.united(fillBlock(pixels, {x1, y1 - 1, w, 2}, colour));  // top, second row above
    changed = changed.united(fillBlock(pixels, {x1, y1, 2, h}, colour));      // left
    changed = changed.united(fillBlock(pixels, {x2 - 1, y1, 2, h}, colour));  // right
    changed = changed.united(fillBlock(pixels, {x1, y2 - 1, w, 2}, colour));  // bottom
    return changed;
}

}  // namespace canvas
