#include "platform/core/TextFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <system_error>
#include <utility>

#include "platform/core/Blanks.h"
#include "platform/core/Cp1251.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

void setError(std::string* error, const std::string& text) {
    if (error != nullptr) *error = text;
}

constexpr std::size_t kFlushAt = std::size_t{1} << 16;

}  // namespace

std::optional<TextReader> TextReader::open(const fs::path& path, std::string* error, std::uintmax_t maxBytes,
                                           ReadRefusal* refusal) {
    std::optional<std::string> bytes = readFileBytes(path, maxBytes, error, refusal);
    if (!bytes) return std::nullopt;
    return TextReader(std::move(*bytes));
}

std::optional<TextReader> TextReader::openStart(const fs::path& path, std::size_t bytes, std::string* error) {
    std::optional<std::string> start = readFileStart(path, bytes, error);
    if (!start) return std::nullopt;
    return TextReader(std::move(*start));
}

std::size_t TextReader::afterLineEnd(std::size_t p) const {
    if (bytes_[p] == '\r' && p + 1 < bytes_.size() && bytes_[p + 1] == '\n') return p + 2;
    return p + 1;
}

bool TextReader::readLine(std::string& out) {
    out.clear();
    std::string_view bytes;
    if (!readLineBytes(bytes)) return false;
    appendCp1251AsUtf8(out, bytes);
    return true;
}

bool TextReader::readLineBytes(std::string_view& out) {
    const std::size_t n = bytes_.size();
    if (pos_ == n) return false;
    std::size_t p = pos_;
    while (p < n && !isLineEnd(bytes_[p])) ++p;
    out = std::string_view(bytes_).substr(pos_, p - pos_);
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

namespace {

// Leaves errno as the failure set it, for callers that tell one cause from another.
std::optional<TextWriter> writerFailure(std::string* error, int errnum) {
    setError(error, reasonFor(errnum));
    errno = errnum;
    return std::nullopt;
}

}  // namespace

std::optional<TextWriter> TextWriter::create(const fs::path& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return writerFailure(error, errno);
    return TextWriter(fd);
}

std::optional<TextWriter> TextWriter::createNew(const fs::path& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return writerFailure(error, errno);
    ::flock(fd, LOCK_EX | LOCK_NB);  // new and ours alone: it cannot be held by anyone else
    return TextWriter(fd);
}

TextWriter::TextWriter(int fd) : fd_(fd) { buffer_.reserve(kFlushAt + 256); }

TextWriter::TextWriter(TextWriter&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), buffer_(std::move(other.buffer_)), failure_(other.failure_) {}

TextWriter::~TextWriter() {
    if (fd_ < 0) return;
    flushBuffer();
    ::close(fd_);
}

void TextWriter::fail(int errnum) {
    if (failure_ == 0) failure_ = errnum != 0 ? errnum : EIO;
}

bool TextWriter::flushBuffer() {
    std::size_t done = 0;
    while (failure_ == 0 && done < buffer_.size()) {
        const ssize_t wrote = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) {
            fail(wrote < 0 ? errno : ENOSPC);
            break;
        }
        done += static_cast<std::size_t>(wrote);
    }
    buffer_.clear();
    return failure_ == 0;
}

bool TextWriter::writeLine(std::string_view utf8) {
    if (failure_ != 0 || fd_ < 0) return false;
    appendUtf8AsCp1251(buffer_, utf8);
    buffer_ += "\r\n";
    return buffer_.size() < kFlushAt || flushBuffer();
}

bool TextWriter::commit(std::string* error) {
    if (fd_ < 0) {
        setError(error, "файл уже закрыт");
        return false;
    }
    flushBuffer();
    // Closing does not tell whether the data reached the disk; fsync does. A device
    // that cannot be synced (a pipe, /dev/full) has nothing more to lose.
    if (failure_ == 0 && ::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) fail(errno);
    if (::close(fd_) != 0 && errno != EINTR) fail(errno);
    fd_ = -1;
    if (failure_ != 0) setError(error, reasonFor(failure_));
    return failure_ == 0;
}

}  // namespace platform
