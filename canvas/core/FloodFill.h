#pragma once
#include <cstdint>
#include <vector>

#include "canvas/core/History.h"
#include "platform/core/PixelBuffer.h"

namespace canvas {

using platform::PixelBuffer;
using platform::PixelRect;

// Work space of the fill, kept between fills so a fill needs no allocation.
class FillScratch {
public:
    FillScratch();
    struct Segment {
        std::int16_t y, left, right, dy;
    };
    std::vector<Segment> stack;
    // With recordRuns set, the fill lists here every run it painted, for the history.
    bool recordRuns = false;
    std::vector<Run> runs;
};

// Paints colour over the 4-connected area of the seed's colour, within X and Y
// from 1 to 1100 and the canvas: column 0 and row 0 are never painted and never
// join parts of an area. Nothing happens for a black seed, a seed already of that
// colour, or a seed outside that area. Returns the rectangle it changed.
// A span fill: its work grows with the area painted, not with the canvas.
PixelRect floodFill(PixelBuffer& pixels, int x, int y, platform::ColourNumber colour, FillScratch& scratch);

}  // namespace canvas
