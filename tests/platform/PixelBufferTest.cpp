#include <gtest/gtest.h>

#include "platform/core/PixelBuffer.h"

using namespace platform;

TEST(PixelBufferTest, MemoryHoldsRedGreenBlueBytesSoWidgetsShowItWithoutConverting) {
    PixelBuffer buffer(2, 1);
    buffer.setPixel(1, 0, rgb(0x11, 0x22, 0x33));
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
    EXPECT_EQ(bytes[4], 0x11);
    EXPECT_EQ(bytes[5], 0x22);
    EXPECT_EQ(bytes[6], 0x33);
    EXPECT_EQ(buffer.pixel(0, 0), kWhite);
}

TEST(PixelBufferTest, ResizeKeepsTheOverlapAndFillsTheRest) {
    PixelBuffer buffer(3, 3, kBlack);
    buffer.setPixel(2, 2, rgb(9, 9, 9));
    buffer.resize(4, 2, kWhite);
    EXPECT_EQ(buffer.pixel(2, 1), kBlack);
    EXPECT_EQ(buffer.pixel(3, 0), kWhite);
    EXPECT_EQ(buffer.pixel(2, 2), kNoColour);
    buffer.resize(3, 3, kWhite);
    EXPECT_EQ(buffer.pixel(2, 2), kWhite) << "what was cut off does not come back";
}

TEST(PixelBufferTest, RectanglesUniteIntoTheirBoundingBox) {
    EXPECT_EQ((PixelRect{1, 1, 2, 2}.united({5, 0, 1, 1})), (PixelRect{1, 0, 5, 3}));
    EXPECT_EQ((PixelRect{}.united({5, 0, 1, 1})), (PixelRect{5, 0, 1, 1}));
}
