#include "platform/core/KeptDrawing.h"

#include <charconv>
#include <cstring>
#include <system_error>

#include "platform/core/Files.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFormat = "Pyatnushki kept drawing 1\n";
constexpr int kMostNumbers = 16;
constexpr int kMostSide = 4000;

// The next line of the bytes, without its end; false when none is left.
bool nextLine(std::string_view& bytes, std::string_view& line) {
    const std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) return false;
    line = bytes.substr(0, end);
    bytes.remove_prefix(end + 1);
    return true;
}

bool nextNumber(std::string_view& bytes, std::int64_t& value) {
    std::string_view line;
    if (!nextLine(bytes, line)) return false;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    return error == std::errc() && end == line.data() + line.size();
}

}  // namespace

std::string encodeKept(const KeptDrawing& drawing) {
    std::string out(kFormat);
    std::string title = drawing.title;
    for (char& c : title) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    out += title + "\n" + std::to_string(drawing.numbers.size()) + "\n";
    for (const std::int64_t n : drawing.numbers) out += std::to_string(n) + "\n";
    out += std::to_string(drawing.pixels.width()) + "\n" + std::to_string(drawing.pixels.height()) + "\n";
    const std::size_t bytes = static_cast<std::size_t>(drawing.pixels.width()) * drawing.pixels.height() * 4;
    const std::size_t at = out.size();
    out.resize(at + bytes);
    if (bytes > 0) std::memcpy(out.data() + at, drawing.pixels.data(), bytes);
    return out;
}

std::optional<KeptDrawing> decodeKept(std::string_view bytes) {
    if (bytes.substr(0, kFormat.size()) != kFormat) return std::nullopt;
    bytes.remove_prefix(kFormat.size());
    KeptDrawing drawing;
    std::string_view title;
    std::int64_t count = 0, width = 0, height = 0;
    if (!nextLine(bytes, title) || !nextNumber(bytes, count) || count < 0 || count > kMostNumbers) return std::nullopt;
    drawing.title = std::string(title);
    drawing.numbers.resize(static_cast<std::size_t>(count));
    for (std::int64_t& n : drawing.numbers) {
        if (!nextNumber(bytes, n)) return std::nullopt;
    }
    if (!nextNumber(bytes, width) || !nextNumber(bytes, height)) return std::nullopt;
    if (width < 0 || height < 0 || width > kMostSide || height > kMostSide) return std::nullopt;
    if (bytes.size() != static_cast<std::size_t>(width * height * 4)) return std::nullopt;
    drawing.pixels = PixelBuffer(static_cast<int>(width), static_cast<int>(height));
    if (!bytes.empty()) std::memcpy(drawing.pixels.data(), bytes.data(), bytes.size());
    for (std::size_t i = 0; i < static_cast<std::size_t>(width * height); ++i) drawing.pixels.data()[i] &= 0xFFFFFFu;
    return drawing;
}

std::optional<KeptDrawing> readKept(const fs::path& file) {
    const std::optional<std::string> bytes =
        readFileBytes(file, kFormat.size() + 4096 + std::uintmax_t{kMostSide} * kMostSide * 4);
    if (!bytes) return std::nullopt;
    return decodeKept(*bytes);
}

DrawingKeeper::DrawingKeeper(fs::path file) : file_(std::move(file)), thread_([this] { run(); }) {}

DrawingKeeper::~DrawingKeeper() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void DrawingKeeper::keep(KeptDrawing drawing) {
    {
        const std::lock_guard lock(mutex_);
        pending_ = std::move(drawing);
    }
    wake_.notify_one();
}

void DrawingKeeper::forget() {
    std::unique_lock lock(mutex_);
    pending_.reset();
    idle_.wait(lock, [this] { return !writing_; });
    std::error_code ignored;
    fs::remove(file_, ignored);
}

void DrawingKeeper::settle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !writing_ && !pending_; });
}

void DrawingKeeper::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || pending_; });
        if (!pending_) return;  // stopping, and everything is written
        KeptDrawing drawing = std::move(*pending_);
        pending_.reset();
        writing_ = true;
        lock.unlock();
        std::error_code ignored;
        fs::create_directories(file_.parent_path(), ignored);
        replaceFile(file_, encodeKept(drawing));  // a failure leaves the last drawing kept
        lock.lock();
        writing_ = false;
        idle_.notify_all();
    }
}

}  // namespace platform
