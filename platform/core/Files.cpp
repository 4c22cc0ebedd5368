#include "platform/core/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <algorithm>
#include <cerrno>
#include <new>

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr const char* kReadFailed = "не удалось прочитать файл";
constexpr std::uintmax_t kReadPiece = std::uintmax_t{1} << 20;
constexpr std::uintmax_t kGrowthPiece = 4096;

void setError(std::string* error, const std::string& text) {
    if (error != nullptr) *error = text;
}

// Closes a descriptor on every way out.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

// Opens a file to read without ever waiting, and only when it is a regular file.
// Returns the descriptor, or -1 with the reason set.
int openRegular(const fs::path& path, std::string* error, ReadRefusal* refusal, struct stat& info) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    const auto refuse = [&](ReadRefusal kind, const std::string& why) {
        setError(error, why);
        if (refusal != nullptr) *refusal = kind;
        return -1;
    };
    if (fd < 0) return refuse(ReadRefusal::cannotOpen, reasonForReading(errno));
    if (::fstat(fd, &info) != 0) {
        const int errnum = errno;
        ::close(fd);
        return refuse(ReadRefusal::cannotOpen, reasonForReading(errnum));
    }
    if (S_ISREG(info.st_mode)) return fd;
    ::close(fd);
    if (S_ISDIR(info.st_mode)) return refuse(ReadRefusal::cannotOpen, "это папка, а не файл");
    return refuse(ReadRefusal::notAFile, kNotAFile);
}

// Reads up to limit + 1 bytes, so that a file over the limit is noticed without
// reading all of it. Returns false on a read error.
bool readUpTo(int fd, std::uintmax_t limit, std::uintmax_t expected, std::string& bytes) {
    bytes.reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(expected, limit) + 1));
    const std::uintmax_t wanted = limit == kNoLimit ? limit : limit + 1;
    while (bytes.size() < wanted) {
        // As much as the file is said to hold and one byte more, which tells the
        // end (or a file that grew); past that, small pieces. Every byte asked for
        // is cleared first, so asking for far more than there is costs time.
        const std::uintmax_t room = bytes.size() < expected ? expected - bytes.size() + 1 : kGrowthPiece;
        const std::size_t piece = static_cast<std::size_t>(std::min({kReadPiece, wanted - bytes.size(), room}));
        const std::size_t at = bytes.size();
        bytes.resize(at + piece);
        const ssize_t got = ::read(fd, bytes.data() + at, piece);
        if (got < 0 && errno == EINTR) {
            bytes.resize(at);
            continue;
        }
        if (got < 0) return false;
        bytes.resize(at + static_cast<std::size_t>(got));
        if (got == 0) break;
    }
    return true;
}

}  // namespace

std::string reasonFor(int errnum) {
    switch (errnum) {
        case ENOSPC:
        case EFBIG:
            return "на диске не хватает места";
        case EDQUOT:
            return "на диске не хватает места, отведённого этому пользователю";
        case EACCES:
        case EPERM:
            return "нет доступа к папке";
        case EROFS:
            return "диск защищён от записи";
        case ENOENT:
            return "папка не найдена";
        case ENOTDIR:
            return "на месте папки лежит файл";
        case EISDIR:
        case ENOTEMPTY:
            return "это папка, а не файл";
        case EEXIST:
            return "такой файл уже есть";
        case ENOMEM:
            return "не хватает памяти";
        case EIO:
            return "ошибка диска";
        case ELOOP:
            return "символические ссылки замкнуты в круг";
        case ENAMETOOLONG:
            return "слишком длинное имя файла";
        case EMFILE:
        case ENFILE:
            return "открыто слишком много файлов";
        case EBUSY:
        case ETXTBSY:
        case EAGAIN:
            return "файл занят другой программой";
        case ENXIO:
        case ENODEV:
            return "устройство не найдено";
        case EXDEV:
            return "файл лежит на другом диске";
        case EMLINK:
            return "в папке слишком много ссылок";
        case ESTALE:
        case ENOTCONN:
        case ETIMEDOUT:
        case EHOSTDOWN:
        case EHOSTUNREACH:
        case ENETDOWN:
        case ENETUNREACH:
            return "сетевой диск не отвечает";
        case EOPNOTSUPP:
        case EINVAL:
            return "диск не поддерживает это действие";
        case EINTR:
            return "действие прервано";
        case EOVERFLOW:
            return "файл слишком велик";
        case EBADF:
        case EPIPE:
            return "файл закрылся раньше времени";
        default:
            return "ошибка номер " + std::to_string(errnum);
    }
}

std::string reasonForReading(int errnum) {
    if (errnum == ENOENT) return "файл не найден";
    if (errnum == EACCES || errnum == EPERM) return "нет доступа к файлу";
    return reasonFor(errnum);
}

std::optional<std::string> readFileBytes(const fs::path& path, std::uintmax_t maxBytes, std::string* error,
                                         ReadRefusal* refusal) {
    if (refusal != nullptr) *refusal = ReadRefusal::none;
    const auto refuse = [&](ReadRefusal kind, const std::string& why) -> std::optional<std::string> {
        setError(error, why);
        if (refusal != nullptr) *refusal = kind;
        return std::nullopt;
    };
    struct stat info {};
    const Descriptor file{openRegular(path, error, refusal, info)};
    if (file.fd < 0) return std::nullopt;
    const auto size = static_cast<std::uintmax_t>(std::max<off_t>(info.st_size, 0));
    if (size > maxBytes) return refuse(ReadRefusal::tooLarge, "файл слишком велик");
    std::string bytes;
    try {
        if (!readUpTo(file.fd, maxBytes, size, bytes)) return refuse(ReadRefusal::cannotOpen, kReadFailed);
    } catch (const std::bad_alloc&) {
        return refuse(ReadRefusal::tooLarge, "не хватает памяти, чтобы прочитать файл");
    }
    // A file that grew while it was read: still too large.
    if (maxBytes != kNoLimit && bytes.size() > maxBytes) return refuse(ReadRefusal::tooLarge, "файл слишком велик");
    return bytes;
}

std::optional<std::string> readFileStart(const fs::path& path, std::size_t bytes, std::string* error) {
    struct stat info {};
    const Descriptor file{openRegular(path, error, nullptr, info)};
    if (file.fd < 0) return std::nullopt;
    std::string start;
    if (bytes == 0) return start;
    if (!readUpTo(file.fd, bytes - 1, bytes, start)) {
        setError(error, kReadFailed);
        return std::nullopt;
    }
    return start;
}

std::optional<std::string> sha256OfFile(const fs::path& path, std::uintmax_t maxBytes) {
    const std::optional<std::string> bytes = readFileBytes(path, maxBytes);
    if (!bytes) return std::nullopt;
    return QCryptographicHash::hash(QByteArrayView(bytes->data(), static_cast<qsizetype>(bytes->size())),
                                    QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

int writeNewFile(const fs::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return errno;
    int failure = 0;
    std::size_t done = 0;
    while (failure == 0 && done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) failure = wrote < 0 ? errno : ENOSPC;
        else done += static_cast<std::size_t>(wrote);
    }
    // Closing does not tell whether the data reached the disk; fsync does.
    if (failure == 0 && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) failure = errno;
    struct stat info {};
    if (failure == 0 && (::fstat(fd, &info) != 0 || static_cast<std::uintmax_t>(info.st_size) != bytes.size())) {
        failure = EIO;
    }
    if (::close(fd) != 0 && errno != EINTR && failure == 0) failure = errno;
    if (failure != 0) ::unlink(path.c_str());
    return failure;
}

int replaceFile(const fs::path& path, std::string_view bytes) {
    fs::path temporary = path;
    temporary += "." + std::to_string(::getpid()) + ".new";
    ::unlink(temporary.c_str());  // left by a copy with the same number that was killed
    if (const int failure = writeNewFile(temporary, bytes)) return failure;
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int failure = errno;
        ::unlink(temporary.c_str());
        return failure;
    }
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
        ::fsync(fd);  // some file systems refuse; the file is whole either way
        ::close(fd);
    }
    return 0;
}

}  // namespace platform
