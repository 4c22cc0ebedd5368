#pragma once
#include <span>

#include "platform/core/PixelBuffer.h"

namespace canvas {

using platform::ColourNumber;
using platform::PixelBuffer;

// A small picture of a stored one (cells row by row, width x height; -1, a
// cell that lay off the canvas, shows white), shrunk to fit boxWidth x
// boxHeight with its proportions kept, never enlarged. Each pixel blends the
// mean of the cells it covers with the darkest of them, so a one-pixel outline
// still shows where a plain mean would wash it out to white.
PixelBuffer makeThumbnail(std::span<const ColourNumber> cells, int width, int height, int boxWidth, int boxHeight);

}  // namespace canvas
