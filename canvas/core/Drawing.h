#pragma once
#include "platform/core/PixelBuffer.h"

namespace canvas {

using platform::ColourNumber;
using platform::PixelBuffer;
using platform::PixelRect;

// The black 2 x 2 dot a pen leaves where it is pressed: (x..x+1, y..y+1).
PixelRect drawPressDot(PixelBuffer& pixels, int x, int y);

// What a pen sets around the pointer at each move: the whole 4 x 4 block of
// offsets -1..2, so that a slow stroke has no holes. Pixels off the canvas are skipped.
PixelRect drawPenStamp(PixelBuffer& pixels, int x, int y, ColourNumber colour);

// Every pixel of columns 1..width and rows 1..height whose squared distance from
// the centre lies strictly between 0.9 and 1.1 times radiusSquared: a ring whose
// line thickens with the radius. Only the pixels on the canvas are set.
PixelRect drawRing(PixelBuffer& pixels, int centreX, int centreY, long long radiusSquared, int width, int height,
                   ColourNumber colour);

// A rectangle outline with two-pixel edges from (x1, y1) to (x2, y2); the top
// edge takes its second row above y1, the others inside. Drawn only when the
// second corner lies strictly right of and below the first.
PixelRect drawRectangleOutline(PixelBuffer& pixels, int x1, int y1, int x2, int y2, ColourNumber colour);

}  // namespace canvas
