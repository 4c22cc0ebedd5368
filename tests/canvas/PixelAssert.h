// Comparing whole canvases in tests: on a mismatch, say where it starts.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/core/PixelBuffer.h"

namespace testing_support {

// "rgb(r, g, b) = colour number", or "-1" for a read outside the canvas.
inline std::string colourName(platform::ColourNumber colour) {
    if (colour < 0) return std::to_string(colour);
    char text[48];
    std::snprintf(text, sizeof text, "rgb(%d, %d, %d) = %d", platform::redOf(colour), platform::greenOf(colour),
                  platform::blueOf(colour), colour);
    return text;
}

// Same size and every pixel equal; otherwise names the first differing pixel in
// reading order (rows top to bottom) and how many differ in all.
inline ::testing::AssertionResult samePixels(const platform::PixelBuffer& expected,
                                             const platform::PixelBuffer& actual) {
    if (expected.width() != actual.width() || expected.height() != actual.height()) {
        return ::testing::AssertionFailure() << "size " << actual.width() << "x" << actual.height() << ", expected "
                                             << expected.width() << "x" << expected.height();
    }
    int firstX = -1, firstY = -1;
    long differing = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (expected.pixel(x, y) == actual.pixel(x, y)) continue;
            if (differing++ == 0) firstX = x, firstY = y;
        }
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "first differing pixel (" << firstX << ", " << firstY << "): expected "
                                         << colourName(expected.pixel(firstX, firstY)) << ", actual "
                                         << colourName(actual.pixel(firstX, firstY)) << "; " << differing
                                         << " pixel(s) differ";
}

}  // namespace testing_support
