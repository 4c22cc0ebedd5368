#pragma once
// The canvas the benchmarks work on: the design's picture size, and two colours
// that fill the same area in turn, so a canvas never needs restoring between runs.
#include "platform/core/Colour.h"

namespace bench {

constexpr int kWidth = 696, kHeight = 903;
constexpr platform::ColourNumber kColours[2] = {platform::rgb(255, 0, 0), platform::rgb(0, 0, 255)};

}  // namespace bench
