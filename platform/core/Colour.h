#pragma once
#include <cstdint>

namespace platform {

// A colour number: R + 256*G + 65536*B. Every pixel and control colour of the
// program is one; -1 is what a read outside a picture gives.
using ColourNumber = std::int32_t;

constexpr ColourNumber rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }
constexpr int redOf(ColourNumber c) { return c & 0xFF; }
constexpr int greenOf(ColourNumber c) { return (c >> 8) & 0xFF; }
constexpr int blueOf(ColourNumber c) { return (c >> 16) & 0xFF; }

constexpr ColourNumber kBlack = 0;
constexpr ColourNumber kWhite = rgb(255, 255, 255);
constexpr ColourNumber kNoColour = -1;
// The light grey the platform gives a control that names no colour of its own.
constexpr ColourNumber kDefaultControlColour = rgb(240, 240, 240);

constexpr int kTwipsPerPixel = 15;
constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }

}  // namespace platform
