#pragma once
#include <array>

#include "platform/core/Colour.h"

namespace canvas {

using platform::ColourNumber;
using platform::rgb;

// The 32 palette colours, by swatch index.
inline constexpr std::array<ColourNumber, 32> kPalette = {
    rgb(64, 64, 64),    rgb(0, 0, 0),       rgb(255, 0, 0),     rgb(128, 0, 0),     rgb(128, 64, 0),
    rgb(128, 64, 64),   rgb(192, 192, 0),   rgb(128, 128, 0),   rgb(0, 255, 0),     rgb(0, 192, 0),
    rgb(0, 192, 192),   rgb(0, 128, 128),   rgb(0, 0, 255),     rgb(0, 0, 128),     rgb(255, 0, 255),
    rgb(128, 0, 128),   rgb(255, 255, 255), rgb(128, 128, 128), rgb(255, 192, 192), rgb(255, 128, 128),
    rgb(255, 192, 128), rgb(255, 128, 0),   rgb(255, 255, 128), rgb(255, 255, 0),   rgb(192, 255, 192),
    rgb(128, 255, 128), rgb(128, 255, 255), rgb(0, 255, 255),   rgb(192, 192, 255), rgb(128, 128, 255),
    rgb(255, 192, 255), rgb(255, 128, 255)};

// Tool codes share the value that otherwise holds the chosen colour.
inline constexpr ColourNumber CircleTool = 123456789;
inline constexpr ColourNumber RectangleTool = 987654321;
inline constexpr ColourNumber PenCodeBase = 130991;
// The pen swatches' indexes; a pen's code is PenCodeBase plus its index.
inline constexpr std::array<int, 3> kPenIndexes = {0, 1234, 4321};
inline constexpr ColourNumber BlackPen = PenCodeBase + 0;
inline constexpr ColourNumber BluePen = PenCodeBase + 1234;
inline constexpr ColourNumber RedPen = PenCodeBase + 4321;

// The colour each pen draws in while moving (its press dot is always black).
constexpr ColourNumber penColour(ColourNumber code) {
    return code == BluePen ? rgb(0, 0, 255) : code == RedPen ? rgb(255, 0, 0) : rgb(0, 0, 0);
}
constexpr bool isPen(ColourNumber code) { return code == BlackPen || code == BluePen || code == RedPen; }

// The fill works only on X and Y from 1 to this, whatever the canvas's size.
inline constexpr int kFillAreaLimit = 1100;

}  // namespace canvas
