#include "platform/core/PixelBuffer.h"

#include <algorithm>

namespace platform {

PixelRect PixelRect::united(const PixelRect& other) const {
    if (empty()) return other;
    if (other.empty()) return *this;
    const int left = std::min(x, other.x), top = std::min(y, other.y);
    const int right = std::max(x + width, other.x + other.width);
    const int bottom = std::max(y + height, other.y + other.height);
    return {left, top, right - left, bottom - top};
}

PixelBuffer::PixelBuffer(int width, int height, ColourNumber fill)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_) * height_, static_cast<std::uint32_t>(fill) & 0xFFFFFFu) {}

void PixelBuffer::fill(ColourNumber colour) {
    std::fill(pixels_.begin(), pixels_.end(), static_cast<std::uint32_t>(colour) & 0xFFFFFFu);
}

void PixelBuffer::resize(int width, int height, ColourNumber fill) {
    PixelBuffer next(width, height, fill);
    const int w = std::min(width_, next.width_);
    const int h = std::min(height_, next.height_);
    for (int y = 0; y < h; ++y) {
        std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(index(0, y)), w,
                    next.pixels_.begin() + static_cast<std::ptrdiff_t>(next.index(0, y)));
    }
    *this = std::move(next);
}

}  // namespace platform
