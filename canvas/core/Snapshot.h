#pragma once
#include <functional>
#include <vector>

#include "platform/core/PixelBuffer.h"

namespace canvas {

using platform::ColourNumber;
using platform::PixelBuffer;

// Told after each row of a long pixel loop: row 1 … rows.
using RowProgress = std::function<void(int row, int rows)>;

// A copy of the pixels with X from 1 to lastX and Y from 1 to lastY of a picture,
// -1 where the picture has no pixel. Used to print a canvas and to carry a gallery
// picture over to the main canvas. The table is made by the first take and then
// reused, so a window that never prints or edits holds none.
class Snapshot {
public:
    Snapshot(int lastX, int lastY);
    void take(const PixelBuffer& source, const RowProgress& progress = {});
    // Sets the copied pixels on target; places that held no pixel are left alone.
    void paint(PixelBuffer& target, const RowProgress& progress = {}) const;
    ColourNumber at(int x, int y) const { return cells_.empty() ? platform::kNoColour : cells_[index(x, y)]; }
    int lastX() const { return lastX_; }
    int lastY() const { return lastY_; }

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y - 1) * lastX_ + (x - 1); }
    int lastX_, lastY_;
    std::vector<ColourNumber> cells_;
};

}  // namespace canvas
