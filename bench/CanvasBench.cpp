// What a press costs on the design-size canvas: the span fill beside the literal
// sweep it replaced (and OpenCV's fill where installed), and the ring.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "bench/DesignCanvas.h"
#include "canvas/core/Drawing.h"
#include "canvas/core/FloodFill.h"
#include "tests/canvas/LiteralFill.h"

#ifdef PYATNUSHKI_BENCH_OPENCV
#include <opencv2/imgproc.hpp>
#endif

namespace {

using platform::ColourNumber;
using platform::PixelBuffer;
using platform::rgb;
using Clock = std::chrono::steady_clock;

using bench::kColours;
using bench::kHeight;
using bench::kWidth;

struct Scene {
    PixelBuffer (*make)();
    int x, y;
};

PixelBuffer blankCanvas() { return PixelBuffer(kWidth, kHeight); }

// Three pixels wide, three-pixel steps: some 230 cycles of the literal sweep.
PixelBuffer staircaseCanvas() {
    PixelBuffer pixels(kWidth, kHeight);
    testing_support::drawStaircaseCorridor(pixels, 3, 3, platform::kWhite);
    return pixels;
}

const Scene kBlank{blankCanvas, kWidth / 2, kHeight / 2};
const Scene kStaircase{staircaseCanvas, 2, kHeight - 3};

// The span fill's time per fill, timed apart from the benchmark so that the
// literal one can report how many times slower it is.
double fastFillSeconds(const Scene& scene) {
    PixelBuffer pixels = scene.make();
    canvas::FillScratch scratch;
    std::vector<double> times;
    for (int i = 0; i < 201; ++i) {
        const auto start = Clock::now();
        canvas::floodFill(pixels, scene.x, scene.y, kColours[i % 2], scratch);
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + 100, times.end());
    return times[100];
}

void fastFill(benchmark::State& state, const Scene& scene) {
    PixelBuffer pixels = scene.make();
    canvas::FillScratch scratch;
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(canvas::floodFill(pixels, scene.x, scene.y, kColours[i++ % 2], scratch));
        benchmark::ClobberMemory();
    }
}

void literalFill(benchmark::State& state, const Scene& scene) {
    PixelBuffer pixels = scene.make();
    testing_support::LiteralFill literal;
    int i = 0, cycles = 0;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        cycles = literal.fill(pixels, scene.x, scene.y, kColours[i++ % 2]);
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
        benchmark::ClobberMemory();
    }
    state.counters["cycles"] = cycles;
    state.counters["times_slower"] = seconds / static_cast<double>(state.iterations()) / fastFillSeconds(scene);
}

BENCHMARK_CAPTURE(fastFill, blank_canvas, kBlank)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(literalFill, blank_canvas, kBlank)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(fastFill, staircase, kStaircase)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(literalFill, staircase, kStaircase)->Unit(benchmark::kMillisecond)->Iterations(3);

#ifdef PYATNUSHKI_BENCH_OPENCV
// OpenCV paints column 0 and row 0 too, so its area is slightly larger.
void openCvFill(benchmark::State& state, const Scene& scene) {
    PixelBuffer pixels = scene.make();
    cv::Mat image(pixels.height(), pixels.width(), CV_32SC1, pixels.data());
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cv::floodFill(image, cv::Point(scene.x, scene.y), cv::Scalar(kColours[i++ % 2]),
                                               nullptr, cv::Scalar(), cv::Scalar(), 4));
        benchmark::ClobberMemory();
    }
}
BENCHMARK_CAPTURE(openCvFill, blank_canvas, kBlank)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(openCvFill, staircase, kStaircase)->Unit(benchmark::kMicrosecond);
#endif

// The ring about the canvas's middle: inside it, across its sides, mostly off it.
void ring(benchmark::State& state) {
    PixelBuffer pixels = blankCanvas();
    const long long radius = state.range(0);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            canvas::drawRing(pixels, kWidth / 2, kHeight / 2, radius * radius, kWidth, kHeight, kColours[i++ % 2]));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ring)->Arg(300)->Arg(450)->Arg(600)->Unit(benchmark::kMicrosecond);

}  // namespace
