// Once the tools have handled a first press, presses and strokes must not touch
// the heap: clicks come fast and each should cost the same every time.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "canvas/core/Palette.h"
#include "canvas/core/ToolState.h"
#include "tests/canvas/LiteralFill.h"

namespace {

std::atomic<long> allocations{0};

void* allocate(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size != 0 ? size : 1)) return p;
    throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    ++allocations;
    const auto a = static_cast<std::size_t>(alignment);
    // aligned_alloc wants a whole number of alignments.
    if (void* p = std::aligned_alloc(a, (size + a) / a * a)) return p;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, std::align_val_t a) { return allocateAligned(size, a); }
void* operator new[](std::size_t size, std::align_val_t a) { return allocateAligned(size, a); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

namespace {

using canvas::ToolState;
using platform::ColourNumber;
using platform::PixelBuffer;

template <class Action>
long allocationsDuring(Action action) {
    const long before = allocations.load();
    action();
    return allocations.load() - before;
}

// The design size of the drawing area.
struct Canvas {
    ToolState tools;
    PixelBuffer pixels{696, 903};
    void press(double x, double y) {
        tools.press(pixels, x, y, platform::kDefaultControlColour, pixels.width(), pixels.height());
    }
};

int* volatile escaped = nullptr;

TEST(NoAllocationTest, CountingSeesAnAllocation) {
    // Otherwise every zero below would prove nothing.
    EXPECT_EQ(allocationsDuring([] {
                  escaped = new int(1);
                  delete escaped;
              }),
              1);
}

TEST(NoAllocationTest, FillsOfABlankCanvasAndOfAStaircaseAllocateNothing) {
    Canvas c;
    const ColourNumber colours[] = {canvas::kPalette[2], canvas::kPalette[12]};
    c.tools.CurrentColor = colours[0];
    c.press(300, 400);  // warm-up
    for (int i = 1; i <= 4; ++i) {
        c.tools.CurrentColor = colours[i % 2];  // each press repaints the whole canvas
        EXPECT_EQ(allocationsDuring([&] { c.press(300.4, 400.6); }), 0) << "blank canvas, press " << i;
    }

    testing_support::drawStaircaseCorridor(c.pixels, 3, 3, platform::kWhite);
    for (int i = 1; i <= 4; ++i) {
        c.tools.CurrentColor = colours[i % 2];
        EXPECT_EQ(allocationsDuring([&] { c.press(2, c.pixels.height() - 3); }), 0) << "staircase, press " << i;
    }
    long white = 0;
    for (int y = 0; y < c.pixels.height(); ++y) {
        for (int x = 0; x < c.pixels.width(); ++x) white += c.pixels.pixel(x, y) == platform::kWhite;
    }
    EXPECT_EQ(white, 0) << "the fill must have climbed the whole staircase";
}

TEST(NoAllocationTest, PenDotsStrokesCirclesAndRectanglesAllocateNothing) {
    Canvas c;
    c.tools.CurrentColor = canvas::RedPen;
    c.press(10, 10);  // warm-up
    EXPECT_EQ(allocationsDuring([&] {
                  c.press(50, 60);
                  for (int x = 50; x < 90; ++x) c.tools.move(c.pixels, 1, x, 60);
              }),
              0)
        << "pen";

    c.tools.CurrentColor = canvas::CircleTool;
    EXPECT_EQ(allocationsDuring([&] {
                  c.press(348, 451);
                  c.press(748, 451);
              }),
              0)
        << "circle";
    EXPECT_NE(c.pixels.pixel(348, 51), platform::kWhite) << "the ring must have been drawn";

    c.tools.CurrentColor = canvas::RectangleTool;
    EXPECT_EQ(allocationsDuring([&] {
                  c.press(10, 10);
                  c.press(600, 800);
              }),
              0)
        << "rectangle";
}

}  // namespace
