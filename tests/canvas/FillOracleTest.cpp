// The span fill against the literal sweep, pixel for pixel, over many generated
// canvases: noise, mazes, spirals, staircases, areas against the canvas's edges
// and the fill area's limit, tiny canvases, and every colour a press can meet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "canvas/core/FloodFill.h"
#include "canvas/core/Palette.h"
#include "tests/canvas/LiteralFill.h"
#include "tests/canvas/PixelAssert.h"

using platform::ColourNumber;
using platform::kBlack;
using platform::kWhite;
using platform::PixelBuffer;
using platform::PixelRect;
using testing_support::colourName;
using testing_support::LiteralFill;

namespace {

// mt19937's output is fixed by the standard, and taking it modulo keeps the
// canvases the same with any library, so a failing seed can be replayed.
class Rng {
public:
    explicit Rng(std::uint32_t seed) : engine_(seed) {}
    int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool percent(int p) { return below(100) < p; }
    template <class Container>
    auto pick(const Container& c) {
        return c[static_cast<std::size_t>(below(static_cast<int>(c.size())))];
    }

private:
    std::mt19937 engine_;
};

// The palette, then what each pen draws with (black, blue, red).
std::vector<ColourNumber> everyColour() {
    std::vector<ColourNumber> colours(canvas::kPalette.begin(), canvas::kPalette.end());
    for (ColourNumber pen : {canvas::BlackPen, canvas::BluePen, canvas::RedPen})
        colours.push_back(canvas::penColour(pen));
    return colours;
}

ColourNumber areaColour(Rng& rng) {
    static const std::vector<ColourNumber> colours = everyColour();
    ColourNumber c;
    do c = rng.pick(colours);
    while (c == kBlack);
    return c;
}

// One of the eight turns and mirrors of the canvas, so that a shape drawn one
// way also meets the sweeps from every other direction.
PixelBuffer turned(const PixelBuffer& from, int variant) {
    const bool transpose = (variant & 4) != 0;
    const int w = transpose ? from.height() : from.width();
    const int h = transpose ? from.width() : from.height();
    PixelBuffer to(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int sx = (variant & 1) ? w - 1 - x : x;
            int sy = (variant & 2) ? h - 1 - y : y;
            if (transpose) std::swap(sx, sy);
            to.setPixel(x, y, from.pixel(sx, sy));
        }
    }
    return to;
}

// Paints a square brush along a straight line, the way a corridor is dug.
class Digger {
public:
    Digger(PixelBuffer& pixels, int width, ColourNumber colour, int x, int y)
        : pixels_(pixels), width_(width), colour_(colour), x_(x), y_(y) {
        stamp();
    }
    void to(int x, int y) {
        while (x_ != x || y_ != y) {
            x_ += (x > x_) - (x < x_);
            y_ += (y > y_) - (y < y_);
            stamp();
        }
    }
    int x() const { return x_; }
    int y() const { return y_; }

private:
    void stamp() {
        for (int dy = 0; dy < width_; ++dy) {
            for (int dx = 0; dx < width_; ++dx) pixels_.setPixel(x_ + dx, y_ + dy, colour_);
        }
    }
    PixelBuffer& pixels_;
    int width_;
    ColourNumber colour_;
    int x_, y_;
};

int smallSide(Rng& rng) { return rng.percent(10) ? rng.between(1, 8) : rng.between(8, 120); }

// Grains of 1 to 4 pixels, each of black, white or one or two other colours.
PixelBuffer noise(Rng& rng) {
    PixelBuffer pixels(smallSide(rng), smallSide(rng));
    std::vector<ColourNumber> colours = {kWhite};
    for (int extra = rng.below(3); extra > 0; --extra) colours.push_back(areaColour(rng));
    const int blackShare = rng.between(5, 45);
    const int grain = rng.between(1, 4);
    for (int gy = 0; gy < pixels.height(); gy += grain) {
        for (int gx = 0; gx < pixels.width(); gx += grain) {
            const ColourNumber c = rng.percent(blackShare) ? kBlack : rng.pick(colours);
            for (int y = gy; y < gy + grain; ++y) {
                for (int x = gx; x < gx + grain; ++x) pixels.setPixel(x, y, c);
            }
        }
    }
    return pixels;
}

// A perfect maze: corridors 1 to 3 pixels wide between one-pixel black walls,
// the first corridor sometimes on column 0 and row 0.
PixelBuffer maze(Rng& rng) {
    const int cell = rng.between(1, 3);
    const int pitch = cell + 1;
    const int origin = rng.between(-1, 2);  // where the first wall would be
    const int columns = rng.between(2, (118 - origin) / pitch);
    const int rows = rng.between(2, (118 - origin) / pitch);
    PixelBuffer pixels(origin + columns * pitch + 1 + rng.below(3), origin + rows * pitch + 1 + rng.below(3), kBlack);
    const ColourNumber colour = rng.percent(60) ? kWhite : areaColour(rng);
    auto carve = [&](int left, int top, int width, int height) {
        for (int y = top; y < top + height; ++y) {
            for (int x = left; x < left + width; ++x) pixels.setPixel(x, y, colour);
        }
    };
    auto cellLeft = [&](int c) { return origin + 1 + c * pitch; };
    std::vector<bool> visited(static_cast<std::size_t>(columns * rows), false);
    std::vector<std::pair<int, int>> path = {{rng.below(columns), rng.below(rows)}};
    visited[static_cast<std::size_t>(path[0].second * columns + path[0].first)] = true;
    carve(cellLeft(path[0].first), cellLeft(path[0].second), cell, cell);
    while (!path.empty()) {
        const auto [cx, cy] = path.back();
        std::vector<std::pair<int, int>> open;
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nx = cx + dx, ny = cy + dy;
            if (nx >= 0 && ny >= 0 && nx < columns && ny < rows &&
                !visited[static_cast<std::size_t>(ny * columns + nx)])
                open.push_back({nx, ny});
        }
        if (open.empty()) {
            path.pop_back();
            continue;
        }
        const auto [nx, ny] = rng.pick(open);
        visited[static_cast<std::size_t>(ny * columns + nx)] = true;
        // The cell and the wall between it and the one before.
        const int left = std::min(cellLeft(cx), cellLeft(nx)), top = std::min(cellLeft(cy), cellLeft(ny));
        carve(left, top, nx != cx ? cell + pitch : cell, ny != cy ? cell + pitch : cell);
        path.push_back({nx, ny});
    }
    return turned(pixels, rng.below(8));
}

// A corridor winding inwards, every lap of it against some sweep.
PixelBuffer spiral(Rng& rng) {
    const int width = rng.between(1, 3), gap = width + 1;
    PixelBuffer pixels(rng.between(8, 120), rng.between(8, 120), kBlack);
    int left = rng.below(2), top = rng.below(2);
    int right = pixels.width() - width - rng.below(2), bottom = pixels.height() - width - rng.below(2);
    Digger dig(pixels, width, areaColour(rng), left, top);
    while (left <= right && top <= bottom) {
        dig.to(right, top);
        if ((top += gap) > bottom) break;
        dig.to(right, bottom);
        if (left > (right -= gap)) break;
        dig.to(left, bottom);
        if (top > (bottom -= gap)) break;
        dig.to(left, top);
        left += gap;
    }
    return turned(pixels, rng.below(8));
}

// Corridors that keep turning against the sweeps: a climbing staircase, a
// serpentine, and a staircase that climbs and then descends.
PixelBuffer staircase(Rng& rng) {
    const int width = rng.percent(60) ? 3 : rng.between(1, 2);
    const int step = rng.between(1, 8);
    PixelBuffer pixels(rng.between(10, 120), rng.between(10, 120), kBlack);
    const ColourNumber colour = areaColour(rng);
    const int lastX = pixels.width() - width, lastY = pixels.height() - width;
    switch (rng.below(3)) {
        case 0:
            testing_support::drawStaircaseCorridor(pixels, step, width, colour);
            break;
        case 1: {
            Digger dig(pixels, width, colour, 1, 1);
            for (bool rightwards = true;; rightwards = !rightwards) {
                dig.to(rightwards ? lastX : 1, dig.y());
                if (dig.y() + width + 1 > lastY) break;
                dig.to(dig.x(), dig.y() + width + 1);
            }
            break;
        }
        default: {
            Digger dig(pixels, width, colour, 1, pixels.height() / 2);
            const int run = rng.between(2, 10);
            for (int leg = 0; dig.x() < lastX; ++leg) {
                const int dy = leg / run % 2 == 0 ? -step : step;
                dig.to(std::min(dig.x() + step, lastX), dig.y());
                dig.to(dig.x(), std::clamp(dig.y() + dy, 1, lastY));
            }
            break;
        }
    }
    return turned(pixels, rng.below(8));
}

// An area walled into strips that meet only on column 0, row 0 or the last
// column or row, with a little black dust.
PixelBuffer strips(Rng& rng) {
    PixelBuffer pixels(rng.between(3, 60), rng.between(3, 60), rng.percent(50) ? kWhite : areaColour(rng));
    const int w = pixels.width(), h = pixels.height();
    const int dust = rng.below(12);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (rng.percent(dust)) pixels.setPixel(x, y, kBlack);
        }
    }
    for (int walls = rng.between(1, 6); walls > 0; --walls) {
        const bool open0 = rng.percent(70), openLast = rng.percent(40);
        if (rng.percent(50)) {
            const int y = rng.between(1, h - 1);
            for (int x = open0 ? 1 : 0; x < (openLast ? w - 1 : w); ++x) pixels.setPixel(x, y, kBlack);
        } else {
            const int x = rng.between(1, w - 1);
            for (int y = open0 ? 1 : 0; y < (openLast ? h - 1 : h); ++y) pixels.setPixel(x, y, kBlack);
        }
    }
    return pixels;
}

// Where a press lands: mostly anywhere in the colour of an area, sometimes on
// column 0, row 0, the last column or the last row.
std::pair<int, int> pressPoint(Rng& rng, const PixelBuffer& pixels) {
    const int w = pixels.width(), h = pixels.height();
    switch (rng.below(12)) {
        case 0:
            return {0, rng.below(h)};
        case 1:
            return {rng.below(w), 0};
        case 2:
            return {w - 1, rng.below(h)};
        case 3:
            return {rng.below(w), h - 1};
        default:
            for (int attempt = 0; attempt < 40; ++attempt) {
                const int x = rng.below(w), y = rng.below(h);
                if (pixels.pixel(x, y) != kBlack) return {x, y};
            }
            return {rng.below(w), rng.below(h)};
    }
}

// Mostly some other colour, sometimes black, sometimes the colour already there.
ColourNumber fillFor(Rng& rng, ColourNumber target) {
    static const std::vector<ColourNumber> colours = everyColour();
    return rng.percent(8) ? target : rng.pick(colours);
}

class FillOracleTest : public ::testing::Test {
protected:
    // Fills a copy of the canvas each way and compares; the canvas then takes the
    // literal result, so that further presses build on it as a child's would.
    void press(const std::string& name, PixelBuffer& pixels, int x, int y, ColourNumber fill) {
        PixelBuffer expected = pixels;
        literal().fill(expected, x, y, fill);
        PixelBuffer actual = pixels;
        const PixelRect changed = canvas::floodFill(actual, x, y, fill, scratch_);

        auto describe = [&] {
            std::ostringstream text;
            text << name << ", " << pixels.width() << "x" << pixels.height() << ", pressed at (" << x << ", " << y
                 << ") on " << colourName(pixels.pixel(x, y)) << ", filling with " << colourName(fill);
            return text.str();
        };
        if (const auto same = testing_support::samePixels(expected, actual); !same) {
            ADD_FAILURE() << describe() << ": " << same.message();
            ++failures_;
        } else if (const auto outside = changedOutside(pixels, actual, changed); !outside) {
            ADD_FAILURE() << describe() << ": " << outside.message();
            ++failures_;
        }
        pixels = std::move(expected);
    }

    // One family of canvases, each pressed a few times from generated points.
    template <class Generate>
    void family(const char* name, std::uint32_t firstSeed, int canvases, int pressesEach, Generate generate) {
        for (int i = 0; i < canvases && !enough(); ++i) {
            const std::uint32_t seed = firstSeed + static_cast<std::uint32_t>(i);
            Rng rng(seed);
            PixelBuffer pixels = generate(rng);
            for (int n = 1; n <= pressesEach && !enough(); ++n) {
                const auto [x, y] = pressPoint(rng, pixels);
                const ColourNumber fill = fillFor(rng, pixels.pixel(x, y));
                press(std::string(name) + " #" + std::to_string(seed) + " press " + std::to_string(n), pixels, x, y,
                      fill);
            }
        }
    }

    // A broken fill would fail on almost every canvas; the first few say enough.
    bool enough() const { return failures_ >= 3; }

    static ::testing::AssertionResult changedOutside(const PixelBuffer& before, const PixelBuffer& after,
                                                     PixelRect rect) {
        for (int y = 0; y < before.height(); ++y) {
            for (int x = 0; x < before.width(); ++x) {
                const bool inside = x >= rect.x && y >= rect.y && x < rect.x + rect.width && y < rect.y + rect.height;
                if (!inside && before.pixel(x, y) != after.pixel(x, y)) {
                    return ::testing::AssertionFailure()
                           << "pixel (" << x << ", " << y << ") changed outside the returned rectangle (" << rect.x
                           << ", " << rect.y << ") " << rect.width << "x" << rect.height;
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    // Its grid of flags is large, so every test shares one.
    static LiteralFill& literal() {
        static LiteralFill fill;
        return fill;
    }

    canvas::FillScratch scratch_;
    int failures_ = 0;
};

TEST_F(FillOracleTest, NoiseOfTwoToFourColours) { family("noise", 10000, 320, 3, noise); }

TEST_F(FillOracleTest, PerfectMazesInBlackWalls) { family("maze", 20000, 160, 2, maze); }

TEST_F(FillOracleTest, SpiralsNeedingManySweeps) { family("spiral", 30000, 100, 2, spiral); }

TEST_F(FillOracleTest, StaircasesAndSerpentinesTurningAgainstTheSweeps) {
    family("staircase", 40000, 160, 2, staircase);
}

TEST_F(FillOracleTest, StripsJoinedOnlyAlongColumnZeroRowZeroOrTheLastColumnOrRow) {
    family("strips", 50000, 200, 3, strips);
}

// Walls stop just short of, at, or just past 1100, so strips meet inside the
// fill area or only beyond it.
TEST_F(FillOracleTest, CanvasesReachingPastTheFillArea) {
    const std::vector<std::pair<int, int>> sizes = {{1150, 30}, {1101, 12}, {1102, 12}, {1200, 20}, {1105, 9}};
    std::uint32_t seed = 60000;
    for (bool tall : {false, true}) {
        for (const auto& [length, breadth] : sizes) {
            for (int variant = 0; variant < 3 && !enough(); ++variant, ++seed) {
                Rng rng(seed);
                PixelBuffer pixels(length, breadth, rng.percent(50) ? kWhite : areaColour(rng));
                for (int i = 0; i < length * breadth / 50; ++i)
                    pixels.setPixel(rng.below(length), rng.below(breadth), kBlack);
                for (int y = rng.between(1, 3); y < breadth; y += rng.between(2, 4)) {
                    const int end = rng.pick(std::vector<int>{1098, 1099, 1100, 1101, length - 2});
                    for (int x = 1; x <= end; ++x) pixels.setPixel(x, y, kBlack);
                }
                if (tall) pixels = turned(pixels, 4);
                const int lastX = pixels.width() - 1, lastY = pixels.height() - 1;
                const std::vector<std::pair<int, int>> points = {
                    {rng.below(pixels.width()), rng.below(pixels.height())},
                    {tall ? rng.between(1, lastX) : 1100, tall ? 1100 : rng.between(1, lastY)},
                    {tall ? rng.between(1, lastX) : 1101, tall ? 1101 : rng.between(1, lastY)},
                    {lastX, lastY},
                    {tall ? lastX : rng.between(1, 1099), tall ? rng.between(1, 1099) : lastY}};
                int n = 0;
                for (const auto& [x, y] : points) {
                    press("beyond #" + std::to_string(seed) + " press " + std::to_string(++n), pixels, x, y,
                          fillFor(rng, pixels.pixel(x, y)));
                }
            }
        }
    }
    // Two large canvases: the literal sweep is slow on them.
    for (int variant = 0; variant < 2 && !enough(); ++variant, ++seed) {
        Rng rng(seed);
        PixelBuffer pixels(1200, 1200);
        for (int wall = 0; wall < 4; ++wall) {
            const int at = rng.between(100, 1000);
            const int end = rng.pick(std::vector<int>{1099, 1100, 1101});
            for (int i = 1; i <= end; ++i) {
                if (wall % 2 == 0)
                    pixels.setPixel(i, at, kBlack);
                else
                    pixels.setPixel(at, i, kBlack);
            }
        }
        for (const auto& [x, y] : {std::pair{rng.between(1, 1100), rng.between(1, 1100)}, {1100, 1100}, {1150, 20}}) {
            press("large #" + std::to_string(seed), pixels, x, y, areaColour(rng));
        }
    }
}

TEST_F(FillOracleTest, TinyCanvasesPressedOnEveryPixel) {
    const std::vector<std::pair<int, int>> sizes = {{1, 1}, {2, 2}, {1, 2}, {1, 5}, {5, 1}, {2, 1}, {2, 3},
                                                    {3, 2}, {3, 3}, {2, 6}, {6, 2}, {4, 4}, {1, 9}, {9, 1}};
    std::uint32_t seed = 70000;
    for (const auto& [w, h] : sizes) {
        for (int variant = 0; variant < 5 && !enough(); ++variant, ++seed) {
            Rng rng(seed);
            PixelBuffer pixels(w, h);
            const ColourNumber other = areaColour(rng);
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x)
                    pixels.setPixel(x, y, rng.pick(std::vector<ColourNumber>{kWhite, kWhite, kBlack, other}));
            }
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    PixelBuffer copy = pixels;
                    press("tiny #" + std::to_string(seed), copy, x, y, fillFor(rng, pixels.pixel(x, y)));
                }
            }
        }
    }
}

TEST_F(FillOracleTest, EveryPaletteAndPenColourAsTargetAndAsFill) {
    const std::vector<ColourNumber> colours = everyColour();
    std::uint32_t seed = 80000;
    for (const ColourNumber target : colours) {
        for (const ColourNumber fill : colours) {
            if (enough()) return;
            Rng rng(seed++);
            PixelBuffer pixels(rng.between(4, 12), rng.between(4, 12), target);
            const ColourNumber other = rng.pick(colours);
            for (int y = 0; y < pixels.height(); ++y) {
                for (int x = 0; x < pixels.width(); ++x) {
                    if (rng.percent(20)) pixels.setPixel(x, y, rng.percent(50) ? kBlack : other);
                }
            }
            const int x = rng.between(1, pixels.width() - 1), y = rng.between(1, pixels.height() - 1);
            pixels.setPixel(x, y, target);
            press("colours #" + std::to_string(seed - 1), pixels, x, y, fill);
        }
    }
}

TEST(FloodFillTest, PressOffTheCanvasChangesNothing) {
    PixelBuffer pixels(6, 5);
    const PixelBuffer before = pixels;
    canvas::FillScratch scratch;
    for (const auto& [x, y] : {std::pair{-1, 2}, {2, -1}, {6, 2}, {2, 5}, {1100, 1100}, {-5, -5}}) {
        EXPECT_TRUE(canvas::floodFill(pixels, x, y, canvas::kPalette[2], scratch).empty()) << x << ", " << y;
        EXPECT_TRUE(testing_support::samePixels(before, pixels)) << x << ", " << y;
    }
}

}  // namespace
