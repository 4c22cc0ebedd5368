#include "canvas/core/Snapshot.h"

#include <algorithm>

namespace canvas {

Snapshot::Snapshot(int lastX, int lastY)
    : lastX_(lastX), lastY_(lastY) {}

void Snapshot::take(const PixelBuffer& source, const RowProgress& progress) {
    cells_.resize(static_cast<std::size_t>(lastX_) * lastY_);
    // Row by row: the part that lies on the source is copied, the rest is -1.
    const int columns = std::clamp(source.width() - 1, 0, lastX_);
    for (int y = 1; y <= lastY_; ++y) {
        ColourNumber* row = &cells_[index(1, y)];
        int copied = 0;
        if (y < source.height()) {
            const std::uint32_t* from = source.data() + static_cast<std::size_t>(y) * source.width() + 1;
            std::copy_n(from, columns, row);
            copied = columns;
        }
        std::fill(row + copied, row + lastX_, platform::kNoColour);
        if (progress) progress(y, lastY_);
    }
}

void Snapshot::paint(PixelBuffer& target, const RowProgress& progress) const {
    const int lastY = cells_.empty() ? 0 : std::min(lastY_, target.height() - 1);
    const int lastX = std::min(lastX_, target.width() - 1);
    for (int y = 1; y <= lastY_; ++y) {
        if (y <= lastY) {
            const ColourNumber* row = &cells_[index(1, y)];
            std::uint32_t* to = target.data() + static_cast<std::size_t>(y) * target.width() + 1;
            for (int x = 0; x < lastX; ++x) {
                if (row[x] != platform::kNoColour) to[x] = static_cast<std::uint32_t>(row[x]);
            }
        }
        if (progress) progress(y, lastY_);
    }
}

}  // namespace canvas
