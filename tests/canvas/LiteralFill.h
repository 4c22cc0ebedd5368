// The fill as first written: a grid of flags swept forward and back until no
// flag is left. Slow and plain on purpose, so it can judge the span fill; the
// tests use it as their oracle and the benchmark as the yardstick.
#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "canvas/core/Palette.h"
#include "platform/core/PixelBuffer.h"

namespace testing_support {

class LiteralFill {
public:
    static constexpr int kGridSize = 2001;

    LiteralFill() : flags_(static_cast<std::size_t>(kGridSize) * kGridSize, 0) {}

    // Fills from (seedX, seedY), which must lie on the canvas, and returns how
    // many forward-and-back cycles it took (0 when it stopped at once).
    int fill(platform::PixelBuffer& pixels, int seedX, int seedY, platform::ColourNumber fillColour) {
        std::fill(flags_.begin(), flags_.end(), 0);
        setFlag(seedX, seedY);
        const platform::ColourNumber targetColor = pixels.pixel(seedX, seedY);
        if (targetColor == 0 || targetColor == fillColour) return 0;

        // The sweeps stop at the canvas's last column and row rather than at 1100:
        // a flag is set only on a pixel of the target colour, so with the seed on
        // the canvas no flag beyond it is ever set.
        const int lastX = std::min(canvas::kFillAreaLimit, pixels.width() - 1);
        const int lastY = std::min(canvas::kFillAreaLimit, pixels.height() - 1);

        auto visit = [&](int x, int y) {
            if (!flag(x, y)) return;
            clearFlag(x, y);
            pixels.setPixel(x, y, fillColour);
            if (pixels.pixel(x + 1, y) == targetColor) setFlag(x + 1, y);
            if (pixels.pixel(x, y - 1) == targetColor) setFlag(x, y - 1);
            if (pixels.pixel(x - 1, y) == targetColor) setFlag(x - 1, y);
            if (pixels.pixel(x, y + 1) == targetColor) setFlag(x, y + 1);
        };

        int cycles = 0;
        for (;;) {
            ++cycles;
            for (int x = 1; x <= lastX; ++x) {
                for (int y = 1; y <= lastY; ++y) visit(x, y);
            }
            for (int x = lastX; x >= 1; --x) {
                for (int y = lastY; y >= 1; --y) visit(x, y);
            }
            int remaining = 0;
            for (int x = 1; x <= lastX; ++x) {
                for (int y = 1; y <= lastY; ++y) remaining += flag(x, y) ? 1 : 0;
            }
            if (remaining == 0) return cycles;
        }
    }

private:
    static bool inGrid(int x, int y) { return x >= 0 && y >= 0 && x < kGridSize && y < kGridSize; }
    static std::size_t index(int x, int y) { return static_cast<std::size_t>(y) * kGridSize + x; }
    bool flag(int x, int y) const { return inGrid(x, y) && flags_[index(x, y)] != 0; }
    void setFlag(int x, int y) {
        if (inGrid(x, y)) flags_[index(x, y)] = 1;
    }
    void clearFlag(int x, int y) {
        if (inGrid(x, y)) flags_[index(x, y)] = 0;
    }

    std::vector<std::uint8_t> flags_;
};

// A black canvas crossed by one corridor of the given width, climbing from the
// bottom left to the top right in steps of `step` pixels right, then up. The
// literal fill sweeps right and down, then left and up, so every step turns
// against the sweep that just ran: with steps at least as long as the corridor
// is wide, each step costs it a whole cycle. The span fill does not care.
inline void drawStaircaseCorridor(platform::PixelBuffer& pixels, int step, int corridorWidth,
                                  platform::ColourNumber colour) {
    pixels.fill(platform::kBlack);
    auto brush = [&](int x, int y) {
        for (int dy = 0; dy < corridorWidth; ++dy) {
            for (int dx = 0; dx < corridorWidth; ++dx) pixels.setPixel(x + dx, y - dy, colour);
        }
    };
    int x = 1, y = pixels.height() - 2;
    while (x + corridorWidth <= pixels.width() - 1 && y - corridorWidth >= 1) {
        for (int i = 0; i < step && x + corridorWidth <= pixels.width() - 1; ++i) brush(x++, y);
        for (int i = 0; i < step && y - corridorWidth >= 1; ++i) brush(x, y--);
    }
}

}  // namespace testing_support
