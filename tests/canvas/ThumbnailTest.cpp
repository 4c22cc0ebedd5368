// The small pictures of the gallery's list, on plain cells.
#include <gtest/gtest.h>

#include <vector>

#include "canvas/core/Thumbnail.h"

using canvas::makeThumbnail;
using platform::ColourNumber;
using platform::kBlack;
using platform::kWhite;
using platform::rgb;

namespace {

std::vector<ColourNumber> cells(int width, int height, ColourNumber colour) {
    return std::vector<ColourNumber>(static_cast<std::size_t>(width) * height, colour);
}

}  // namespace

TEST(ThumbnailTest, FitsTheBoxKeepingProportionsAndNeverEnlarges) {
    struct Case {
        int width, height, boxWidth, boxHeight, expectWidth, expectHeight;
    };
    const Case cases[] = {
        {696, 903, 32, 40, 31, 40},   // the design canvas, upright
        {903, 696, 32, 40, 32, 25},   // on its side
        {4, 3, 32, 40, 4, 3},         // small pictures stay as they are
        {2000, 1, 32, 40, 32, 1},     // a thin strip keeps one row
        {1, 2000, 32, 40, 1, 40},
    };
    for (const Case& c : cases) {
        const auto picture = makeThumbnail(cells(c.width, c.height, kWhite), c.width, c.height, c.boxWidth, c.boxHeight);
        EXPECT_EQ(picture.width(), c.expectWidth) << c.width << "x" << c.height;
        EXPECT_EQ(picture.height(), c.expectHeight) << c.width << "x" << c.height;
    }
}

TEST(ThumbnailTest, NothingToShowGivesAnEmptyPicture) {
    EXPECT_EQ(makeThumbnail(cells(4, 3, kWhite), 0, 3, 32, 40).width(), 0);
    EXPECT_EQ(makeThumbnail(cells(4, 3, kWhite), 4, 3, 0, 40).width(), 0);
    EXPECT_EQ(makeThumbnail(cells(4, 2, kWhite), 4, 3, 32, 40).width(), 0) << "fewer cells than the size says";
}

TEST(ThumbnailTest, AreasKeepTheirColourAThinLineStaysVisibleAndCellsOffTheCanvasShowWhite) {
    const int w = 320, h = 400;
    auto picture = cells(w, h, kWhite);
    for (int y = 0; y < h / 2; ++y)
        for (int x = 0; x < w; ++x) picture[static_cast<std::size_t>(y) * w + x] = rgb(0, 0, 255);
    for (int y = h / 2; y < h; ++y) picture[static_cast<std::size_t>(y) * w + 155] = kBlack;  // one pixel wide
    for (int x = 0; x < w; ++x) picture[static_cast<std::size_t>(h - 1) * w + x] = -1;
    const auto small = makeThumbnail(picture, w, h, 32, 40);
    ASSERT_EQ(small.width(), 32);
    EXPECT_EQ(small.pixel(3, 3), rgb(0, 0, 255));
    EXPECT_EQ(small.pixel(3, 30), kWhite);
    const ColourNumber line = small.pixel(15, 30);
    EXPECT_LT(platform::redOf(line), 160) << "a one-pixel line in a ten-pixel box is still seen";
    EXPECT_EQ(small.pixel(3, 39), kWhite) << "-1 is no colour: it shows white";
}
