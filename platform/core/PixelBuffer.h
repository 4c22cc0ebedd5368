#pragma once
#include <cstdint>
#include <vector>

#include "platform/core/Colour.h"

namespace platform {

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const PixelRect&) const = default;
    // The smallest rectangle holding both.
    PixelRect united(const PixelRect& other) const;
};

// The pixels of a picture box: one colour number per pixel, rows top to bottom.
// In memory each pixel is the bytes R, G, B, 0, so a widget can show the buffer
// as an RGBX image without converting it.
class PixelBuffer {
public:
    PixelBuffer() = default;
    PixelBuffer(int width, int height, ColourNumber fill = kWhite);

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // -1 for a pixel outside the buffer.
    ColourNumber pixel(int x, int y) const {
        return contains(x, y) ? static_cast<ColourNumber>(pixels_[index(x, y)]) : kNoColour;
    }
    // A pixel outside the buffer is ignored.
    void setPixel(int x, int y, ColourNumber colour) {
        if (contains(x, y)) pixels_[index(x, y)] = static_cast<std::uint32_t>(colour) & 0xFFFFFFu;
    }
    void fill(ColourNumber colour);
    // New size; the overlapping part is kept, the rest takes the fill colour.
    void resize(int width, int height, ColourNumber fill);

    const std::uint32_t* data() const { return pixels_.data(); }
    std::uint32_t* data() { return pixels_.data(); }

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace platform
