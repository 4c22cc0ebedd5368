#include "platform/core/TextFile.h"

#include <system_error>
#include <utility>

#include "platform/core/Cp1251.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

void setError(std::string* error, const char* text) {
    if (error != nullptr) *error = text;
}

// The stream libraries do not say why an open failed, so ask the file system.
const char* whyNotReadable(const fs::path& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) return "файл не найден";
    if (fs::is_directory(path, ec)) return "это папка, а не файл";
    return "нет доступа к файлу";
}

const char* whyNotWritable(const fs::path& path) {
    std::error_code ec;
    const fs::path folder = path.parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec)) return "папка не найдена";
    if (fs::is_directory(path, ec)) return "это папка, а не файл";
    return "нет доступа к файлу";
}

constexpr const char* kReadFailed = "не удалось прочитать файл";
constexpr const char* kWriteFailed = "не удалось записать файл";
constexpr std::size_t kFlushAt = std::size_t{1} << 16;

}  // namespace

std::optional<TextReader> TextReader::open(const fs::path& path, std::string* error) {
    std::error_code ec;
    // Opening a folder succeeds on some systems and only the reads fail.
    if (fs::is_directory(path, ec)) {
        setError(error, "это папка, а не файл");
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file.is_open()) {
        setError(error, whyNotReadable(path));
        return std::nullopt;
    }
    const std::streamoff size = file.tellg();
    if (size < 0) {
        setError(error, kReadFailed);
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    file.seekg(0);
    file.read(bytes.data(), size);
    if (file.gcount() != size) {
        setError(error, kReadFailed);
        return std::nullopt;
    }
    return TextReader(std::move(bytes));
}

std::size_t TextReader::afterLineEnd(std::size_t p) const {
    if (bytes_[p] == '\r' && p + 1 < bytes_.size() && bytes_[p + 1] == '\n') return p + 2;
    return p + 1;
}

bool TextReader::readLine(std::string& out) {
    out.clear();
    const std::size_t n = bytes_.size();
    if (pos_ == n) return false;
    std::size_t p = pos_;
    while (p < n && !isLineEnd(bytes_[p])) ++p;
    appendCp1251AsUtf8(out, std::string_view(bytes_).substr(pos_, p - pos_));
    pos_ = p < n ? afterLineEnd(p) : n;
    return true;
}

std::optional<std::string> TextReader::readLine() {
    std::string line;
    if (!readLine(line)) return std::nullopt;
    return line;
}

bool TextReader::readField(std::string& out) {
    out.clear();
    const std::size_t n = bytes_.size();
    std::size_t p = pos_;
    while (p < n && (isBlank(bytes_[p]) || isLineEnd(bytes_[p]))) ++p;
    if (p == n) {
        pos_ = n;
        return false;
    }
    std::size_t begin = p;
    std::size_t end = p;
    if (bytes_[p] == '"') {
        begin = p + 1;
        end = bytes_.find('"', begin);
        if (end == std::string::npos) end = n;
        p = end < n ? end + 1 : n;
        while (p < n && bytes_[p] != ',' && !isLineEnd(bytes_[p])) ++p;
    } else {
        while (p < n && bytes_[p] != ',' && !isLineEnd(bytes_[p])) ++p;
        end = p;
        while (end > begin && isBlank(bytes_[end - 1])) --end;
    }
    if (p < n) p = bytes_[p] == ',' ? p + 1 : afterLineEnd(p);
    pos_ = p;
    appendCp1251AsUtf8(out, std::string_view(bytes_).substr(begin, end - begin));
    return true;
}

std::optional<std::string> TextReader::readField() {
    std::string field;
    if (!readField(field)) return std::nullopt;
    return field;
}

std::optional<TextWriter> TextWriter::create(const fs::path& path, std::string* error) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file.is_open()) {
        setError(error, whyNotWritable(path));
        return std::nullopt;
    }
    return TextWriter(std::move(file));
}

TextWriter::TextWriter(std::ofstream file) : file_(std::move(file)) {
    buffer_.reserve(kFlushAt + 256);
}

TextWriter::~TextWriter() {
    if (file_.is_open()) {
        flushBuffer();
        file_.close();
    }
}

bool TextWriter::flushBuffer() {
    if (!failed_ && !buffer_.empty()) {
        file_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        if (!file_) failed_ = true;
    }
    buffer_.clear();
    return !failed_;
}

bool TextWriter::writeLine(std::string_view utf8) {
    if (failed_ || !file_.is_open()) return false;
    appendUtf8AsCp1251(buffer_, utf8);
    buffer_ += "\r\n";
    return buffer_.size() < kFlushAt || flushBuffer();
}

bool TextWriter::commit(std::string* error) {
    if (!file_.is_open()) {
        setError(error, "файл уже закрыт");
        return false;
    }
    flushBuffer();
    file_.close();
    if (file_.fail()) failed_ = true;
    if (failed_) setError(error, kWriteFailed);
    return !failed_;
}

}  // namespace platform
