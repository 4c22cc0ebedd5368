// Reading and saving a full-size picture, 696 x 903 as the colouring window's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <variant>

#include "pictures/core/PictureFiles.h"
#include "canvas/core/Snapshot.h"

namespace fs = std::filesystem;
using namespace pictures;

namespace {

constexpr int kWidth = 696;
constexpr int kHeight = 903;

struct Files {
    fs::path folder, library, gallery, saved;
    Files() {
        folder = fs::temp_directory_path() / ("pyatnushki_bench_" + std::to_string(::getpid()));
        fs::create_directories(folder / "data");
        library = folder / "data" / " 1.mac";
        gallery = folder / "data" / "gl 0.mac";
        saved = folder / "data" / "gl 1.mac";
        // Line art: mostly white with black strokes, a row per line as the pictures are drawn.
        std::ofstream out(library, std::ios::binary);
        out << "Bench\r\n " << kHeight << " \r\n " << kWidth << " \r\n";
        for (int r = 1; r <= kHeight; ++r) {
            for (int c = 1; c <= kWidth; ++c)
                out << ((r * 7 + c * 3) % 23 == 0 ? '0' : '1') << (c < kWidth ? "," : "\r\n");
        }
        out.close();
        // A coloured-in picture with colours of every length.
        PixelBuffer canvas(kWidth, kHeight);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x)
                canvas.setPixel(x, y, (x / 40 % 3 == 0) ? platform::kWhite : x * 9973 + y * 31);
        }
        saveGalleryPicture(gallery, "Bench", canvas);
    }
    ~Files() { fs::remove_all(folder); }
};

const Files& files() {
    static const Files instance;
    return instance;
}

void readLibraryAndDraw(PixelBuffer& canvas) {
    auto picture = readLibraryPicture(files().library);
    drawLibraryPicture(std::get<LibraryPicture>(picture), canvas);
}

// How a first attempt would read the library body: a new string per field.
void readLibraryNaively(PixelBuffer& canvas) {
    std::ifstream in(files().library, std::ios::binary);
    std::string title, line;
    std::getline(in, title);
    std::getline(in, line);
    const int height = std::stoi(line);
    std::getline(in, line);
    const int width = std::stoi(line);
    int cell = 0;
    while (cell < height * width && std::getline(in, line)) {
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, ',');) {
            const std::string text = field;
            const int value = std::stoi(text);
            canvas.setPixel(cell % width, cell / width + 1, value == 0 ? platform::kBlack : platform::kWhite);
            ++cell;
        }
    }
}

void BM_ReadLibraryPictureAndDraw(benchmark::State& state) {
    PixelBuffer canvas(kWidth, kHeight);
    for (auto _ : state) {
        readLibraryAndDraw(canvas);
        benchmark::DoNotOptimize(canvas.data());
    }
}
BENCHMARK(BM_ReadLibraryPictureAndDraw)->Unit(benchmark::kMillisecond);

void BM_NaiveLibraryReader(benchmark::State& state) {
    PixelBuffer canvas(kWidth, kHeight);
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (auto _ : state) {
        readLibraryNaively(canvas);
        benchmark::DoNotOptimize(canvas.data());
    }
    const double naive = std::chrono::duration<double>(Clock::now() - start).count() / state.iterations();
    constexpr int kRuns = 20;
    const auto fastStart = Clock::now();
    for (int i = 0; i < kRuns; ++i) readLibraryAndDraw(canvas);
    const double fast = std::chrono::duration<double>(Clock::now() - fastStart).count() / kRuns;
    state.counters["naive/fast"] = naive / fast;
}
BENCHMARK(BM_NaiveLibraryReader)->Unit(benchmark::kMillisecond);

void BM_SaveGalleryPicture(benchmark::State& state) {
    const auto picture = readGalleryPicture(files().gallery);
    PixelBuffer canvas(kWidth, kHeight);
    drawGalleryPicture(std::get<GalleryPicture>(picture), canvas);
    for (auto _ : state) {
        if (saveGalleryPicture(files().saved, "Bench", canvas)) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveGalleryPicture)->Unit(benchmark::kMillisecond);

void BM_ReadGalleryPictureAndDraw(benchmark::State& state) {
    PixelBuffer canvas(kWidth, kHeight);
    for (auto _ : state) {
        auto picture = readGalleryPicture(files().gallery);
        drawGalleryPicture(std::get<GalleryPicture>(picture), canvas);
        benchmark::DoNotOptimize(canvas.data());
    }
}
BENCHMARK(BM_ReadGalleryPictureAndDraw)->Unit(benchmark::kMillisecond);

}  // namespace

// The two copy loops of a print: the canvas into the snapshot, the snapshot into
// the print copy (900 x 1100 pixels each).
void BM_PrintCopyLoops(benchmark::State& state) {
    PixelBuffer canvas(696, 903, platform::rgb(0, 0, 255));
    PixelBuffer copy(696, 903, platform::kWhite);
    canvas::Snapshot snapshot(900, 1100);
    for (auto _ : state) {
        snapshot.take(canvas);
        snapshot.paint(copy);
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_PrintCopyLoops)->Unit(benchmark::kMillisecond);
