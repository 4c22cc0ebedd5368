#include "canvas/core/FloodFill.h"

#include <algorithm>

#include "canvas/core/Palette.h"

namespace canvas {

// Room for the pending spans of any ordinary picture; a pathological one grows
// it once and the capacity stays.
FillScratch::FillScratch() { stack.reserve(1 << 16); }

PixelRect floodFill(PixelBuffer& pixels, int seedX, int seedY, platform::ColourNumber colour, FillScratch& scratch) {
    scratch.runs.clear();
    const int minX = 1, minY = 1;
    const int maxX = std::min(kFillAreaLimit, pixels.width() - 1);
    const int maxY = std::min(kFillAreaLimit, pixels.height() - 1);
    if (seedX < minX || seedX > maxX || seedY < minY || seedY > maxY) return {};
    const std::uint32_t target = static_cast<std::uint32_t>(pixels.pixel(seedX, seedY));
    const std::uint32_t paint = static_cast<std::uint32_t>(colour) & 0xFFFFFFu;
    if (target == 0 || target == paint) return {};

    std::uint32_t* const data = pixels.data();
    const int stride = pixels.width();
    int left = seedX, right = seedX, top = seedY, bottom = seedY;

    // Each segment says: the span left..right of row y - dy was painted; look at row y.
    auto& stack = scratch.stack;
    stack.clear();
    auto push = [&](int y, int l, int r, int dy) {
        if (y + dy >= minY && y + dy <= maxY)
            stack.push_back({static_cast<std::int16_t>(y), static_cast<std::int16_t>(l), static_cast<std::int16_t>(r),
                             static_cast<std::int16_t>(dy)});
    };
    push(seedY, seedX, seedX, 1);
    push(seedY + 1, seedX, seedX, -1);

    while (!stack.empty()) {
        const FillScratch::Segment s = stack.back();
        stack.pop_back();
        const int dy = s.dy;
        const int y = s.y + dy;
        const int x1 = s.left, x2 = s.right;
        std::uint32_t* const row = data + static_cast<std::size_t>(y) * stride;
        int x = x1;
        while (x >= minX && row[x] == target) row[x--] = paint;
        // When x1 itself is not of the target colour, skip to the next pixel that is.
        bool skipRun = x >= x1;
        int l = x + 1;
        if (!skipRun) {
            if (l < x1) push(y, l, x1 - 1, -dy);  // the run leaks back past the parent span on the left
            x = x1 + 1;
        }
        do {
            if (!skipRun) {
                while (x <= maxX && row[x] == target) row[x++] = paint;
                push(y, l, x - 1, dy);
                if (scratch.recordRuns) {
                    scratch.runs.push_back({static_cast<std::int16_t>(y), static_cast<std::int16_t>(l),
                                            static_cast<std::int16_t>(x - l), 1});
                }
                if (x > x2 + 1) push(y, x2 + 1, x - 1, -dy);  // and on the right
                left = std::min(left, l);
                right = std::max(right, x - 1);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
            skipRun = false;
            for (++x; x <= x2 && row[x] != target; ++x) {
            }
            l = x;
        } while (x <= x2);
    }
    return {left, top, right - left + 1, bottom - top + 1};
}

}  // namespace canvas
