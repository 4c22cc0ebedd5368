// Feeds any bytes to the picture readers as a library picture and as a gallery
// slot. Whatever the bytes, a read either refuses them with a message or gives a
// picture; a gallery picture that was read is saved and read back, and the
// program's own file must come back with the same pixels.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <variant>

#include "pictures/core/PictureFiles.h"
#include "platform/core/PixelBuffer.h"

namespace fs = std::filesystem;
using namespace pictures;

namespace {

// A folder of this process's own, in memory where the system offers one.
const fs::path& folder() {
    static const fs::path path = [] {
        const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path own = base / ("pyatnushki-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(own);
        return own;
    }();
    return path;
}

void roundTrip(const GalleryPicture& picture) {
    platform::PixelBuffer canvas(picture.width, picture.height, platform::kWhite);
    drawGalleryPicture(picture, canvas);
    const fs::path slot = folder() / "gl 1.mac";
    if (auto error = saveGalleryPicture(slot, picture.title, canvas)) {
        std::fprintf(stderr, "save refused: %s\n", error->message.c_str());
        std::abort();
    }
    const auto back = readGalleryPicture(slot);
    if (!std::holds_alternative<GalleryPicture>(back)) {
        std::fprintf(stderr, "own file refused: %s\n", std::get<FileError>(back).message.c_str());
        std::abort();
    }
    const GalleryPicture& again = std::get<GalleryPicture>(back);
    if (again.width != picture.width || again.height != picture.height) std::abort();
    platform::PixelBuffer canvasAgain(picture.width, picture.height, platform::kWhite);
    drawGalleryPicture(again, canvasAgain);
    // Row 0 is never stored; every other row comes back as it was drawn.
    for (int y = 1; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (canvasAgain.pixel(x, y) != canvas.pixel(x, y)) std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path file = folder() / "input.mac";
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
    if (auto library = readLibraryPicture(file); std::holds_alternative<LibraryPicture>(library)) {
        const LibraryPicture& picture = std::get<LibraryPicture>(library);
        platform::PixelBuffer canvas(picture.width, picture.height + 1, platform::kWhite);
        drawLibraryPicture(picture, canvas);
    }
    (void)readGalleryTitle(file);
    if (auto gallery = readGalleryPicture(file); std::holds_alternative<GalleryPicture>(gallery)) {
        roundTrip(std::get<GalleryPicture>(gallery));
    }
    return 0;
}
