// What undo costs on the design-size canvas: recording a fill beside the fill
// itself, and putting a whole-canvas fill back.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "bench/DesignCanvas.h"
#include "canvas/core/History.h"
#include "canvas/core/ToolState.h"

namespace {

using platform::ColourNumber;
using platform::PixelBuffer;
using platform::rgb;
using Clock = std::chrono::steady_clock;

using bench::kColours;
using bench::kHeight;
using bench::kWidth;

double seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// The same press on two blank canvases, one with a history and one without,
// in turn, so both see the same machine; "recording_share" is what the
// history adds, as a share of the fill, from the medians of the two.
void recordedFill(benchmark::State& state) {
    canvas::History history;
    canvas::ToolState plain, recorded;
    recorded.history = &history;
    PixelBuffer a(kWidth, kHeight), b(kWidth, kHeight);
    std::vector<double> plainTimes, recordedTimes;
    int i = 0;
    for (auto _ : state) {
        plain.CurrentColor = recorded.CurrentColor = kColours[i % 2];
        // Which goes first changes every other round, so neither always finds
        // the caches as the other left them.
        for (int k = 0; k < 2; ++k) {
            const bool record = (k == 0) == (i / 2 % 2 == 0);
            const auto start = Clock::now();
            if (record) {
                recorded.press(b, kWidth / 2, kHeight / 2, 0, kWidth, kHeight);
            } else {
                plain.press(a, kWidth / 2, kHeight / 2, 0, kWidth, kHeight);
            }
            (record ? recordedTimes : plainTimes).push_back(seconds(start));
        }
        ++i;
        benchmark::ClobberMemory();
    }
    auto median = [](std::vector<double>& v) {
        std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    const double fill = median(plainTimes), withHistory = median(recordedTimes);
    state.counters["fill_us"] = fill * 1e6;
    state.counters["recorded_fill_us"] = withHistory * 1e6;
    state.counters["recording_share"] = (withHistory - fill) / fill;
    state.counters["history_kib"] = static_cast<double>(history.bytes()) / 1024;
}
BENCHMARK(recordedFill)->Unit(benchmark::kMicrosecond)->Iterations(2000);

// Undo of a fill of the whole blank canvas (runs), and of a comb of one-pixel
// lines every fourth column (kept as a bit per pixel); each iteration undoes
// and redoes, and only the undo is timed.
void undoFullFill(benchmark::State& state) {
    const bool comb = state.range(0) != 0;
    canvas::History history;
    canvas::ToolState tools;
    tools.history = &history;
    PixelBuffer pixels(kWidth, kHeight);
    if (comb) {
        for (int x = 4; x < kWidth; x += 4)
            for (int y = 2; y < kHeight; ++y) pixels.setPixel(x, y, platform::kBlack);
    }
    tools.CurrentColor = kColours[0];
    tools.press(pixels, 2, 1, 0, kWidth, kHeight);
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(history.undo(pixels));
        state.SetIterationTime(seconds(start));
        history.redo(pixels);
        benchmark::ClobberMemory();
    }
    state.counters["step_kib"] = static_cast<double>(history.bytes()) / 1024;
}
BENCHMARK(undoFullFill)->Arg(0)->Arg(1)->ArgNames({"comb"})->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
