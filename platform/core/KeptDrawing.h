#pragma once
// A window's drawing kept safe on the disk while the child draws, so that a
// program that is killed, crashes or loses its power shows it again next time.
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/core/PixelBuffer.h"

namespace platform {

// What is kept: the canvas's pixels, a title and the window's own numbers.
struct KeptDrawing {
    std::string title;
    std::vector<std::int64_t> numbers;
    PixelBuffer pixels;
};

// The file's bytes: a line naming the format, then the title, the numbers and
// the size on lines of their own, then the pixels, four bytes each.
std::string encodeKept(const KeptDrawing& drawing);
// Nothing unless the bytes are exactly such a file.
std::optional<KeptDrawing> decodeKept(std::string_view bytes);
// The kept drawing in the file, if there is a whole one.
std::optional<KeptDrawing> readKept(const std::filesystem::path& file);

// Writes what it is handed to one file, on a thread of its own, so the
// interface never waits for the disk. Each write goes to a file of its own
// beside and is renamed over the kept one once it is on the disk, so the kept
// file is always whole; a newer drawing handed over before the last is written
// takes its place.
class DrawingKeeper {
public:
    explicit DrawingKeeper(std::filesystem::path file);
    ~DrawingKeeper();  // what was handed over is written first
    DrawingKeeper(const DrawingKeeper&) = delete;
    DrawingKeeper& operator=(const DrawingKeeper&) = delete;

    const std::filesystem::path& file() const { return file_; }
    // Hands the drawing over and returns at once.
    void keep(KeptDrawing drawing);
    // Drops what waits to be written and removes the file; returns once it is gone.
    void forget();
    // Returns once everything handed over is on the disk.
    void settle();

private:
    void run();

    std::filesystem::path file_;
    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::optional<KeptDrawing> pending_;
    bool writing_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace platform
