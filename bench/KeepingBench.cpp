// What keeping the drawing safe costs the interface thread: when the second
// after a change is up, a copy of the design canvas with its title and numbers
// handed to the writer thread (the writing itself runs there, measured apart).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "bench/DesignCanvas.h"
#include "platform/core/KeptDrawing.h"

namespace fs = std::filesystem;

namespace {

const fs::path& keptFile() {
    static const fs::path file = fs::temp_directory_path() / ("pyatnushki_keeping_" + std::to_string(::getpid())) / "main.kept";
    return file;
}

void handOver(benchmark::State& state) {
    platform::PixelBuffer canvas(bench::kWidth, bench::kHeight, bench::kColours[0]);
    platform::DrawingKeeper keeper(keptFile());
    for (auto _ : state) {
        keeper.keep({"Лиса", {3, 1, 0}, canvas});
    }
    keeper.settle();
    fs::remove_all(keptFile().parent_path());
}
BENCHMARK(handOver)->Unit(benchmark::kMillisecond);

// The writer thread's share: the file encoded, written beside and renamed over.
void writeOnDisk(benchmark::State& state) {
    platform::PixelBuffer canvas(bench::kWidth, bench::kHeight, bench::kColours[1]);
    platform::DrawingKeeper keeper(keptFile());
    for (auto _ : state) {
        keeper.keep({"Лиса", {3, 1, 0}, canvas});
        keeper.settle();
    }
    fs::remove_all(keptFile().parent_path());
}
BENCHMARK(writeOnDisk)->Unit(benchmark::kMillisecond);

}  // namespace
