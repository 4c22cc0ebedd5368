// The gallery list's 36 small pictures from full-size slot files, made on a
// thread of their own as the gallery window makes them.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "pictures/Form6.h"
#include "pictures/core/GalleryFolder.h"
#include "pictures/core/PictureFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 696, kHeight = 903, kSlots = 36;

// 36 coloured-in pictures of the design size, each a little different.
struct Slots {
    fs::path folder;
    Slots() {
        folder = fs::temp_directory_path() / ("pyatnushki_thumbnails_" + std::to_string(::getpid()));
        fs::create_directories(folder);
        pictures::useGalleryFolder(folder);
        for (int k = 0; k < kSlots; ++k) {
            platform::PixelBuffer canvas(kWidth, kHeight);
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                    if ((x + k * 7) / 60 % 2 == 0 || y % 97 == 0) canvas.setPixel(x, y, platform::rgb(k * 7, x % 256, 128));
            pictures::saveGalleryPicture(pictures::galleryPath(k), "Bench", canvas);
        }
    }
    ~Slots() { fs::remove_all(folder); }
};

void allThumbnails(benchmark::State& state) {
    [[maybe_unused]] static const Slots slotFiles;
    for (auto _ : state) {
        int made = 0;
        std::thread maker([&] {
            for (int k = 0; k < kSlots; ++k) made += !pictures::galleryThumbnail(k).isNull();
        });
        maker.join();
        if (made != kSlots) state.SkipWithError("a thumbnail was not made");
    }
}
BENCHMARK(allThumbnails)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
