#include "pictures/core/GalleryFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/core/TextFile.h"

namespace pictures {

namespace fs = std::filesystem;

namespace {

fs::path& current() {
    static fs::path folder = "data";
    return folder;
}

constexpr int kSlots = 36;  // gl 0.mac … gl 35.mac

// Copies the file under a name of its own, puts it on the disk, and only then
// gives it the slot's name, with link(), which fails rather than replace a slot
// that another copy of the program made meanwhile.
int copyWithoutReplacing(const fs::path& from, const fs::path& to) {
    fs::path temporary = to;
    temporary += "." + std::to_string(::getpid()) + ".seed";
    std::error_code ec;
    fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, ec);
    if (ec) return ec.value();
    int result = 0;
    if (const int fd = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC); fd >= 0) {
        if (::fsync(fd) != 0) result = errno;
        ::close(fd);
    }
    if (result == 0 && ::link(temporary.c_str(), to.c_str()) != 0 && errno != EEXIST) result = errno;
    fs::remove(temporary, ec);
    return result;
}

FileError cannotPrepare(const fs::path& folder, int errnum) {
    // A file standing where a folder on the way should be.
    const std::string reason = errnum == ENOTDIR || errnum == EEXIST ? "на месте папки лежит файл" : platform::reasonFor(errnum);
    return {"Не удалось подготовить папку для рисунков «" + folder.string() + "»: " + reason +
            ". Раскрашивать можно, но сохранить рисунок в галерею не получится."};
}

}  // namespace

const fs::path& galleryFolder() { return current(); }
void useGalleryFolder(fs::path folder) { current() = std::move(folder); }

fs::path galleryPath(int slot) { return galleryFolder() / ("gl" + NumberText(slot) + ".mac"); }
fs::path initialGalleryPath(int slot) { return fs::path("data") / ("gl" + NumberText(slot) + ".mac"); }

std::optional<fs::path> userGalleryFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && fs::path(data).is_absolute()) {
        return fs::path(data) / "pyatnushki";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return fs::path(home) / ".local" / "share" / "pyatnushki";
    }
    return std::nullopt;
}

std::optional<FileError> seedGallery(const fs::path& initial, const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return cannotPrepare(folder, ec.value());
    if (!fs::is_directory(folder, ec)) return cannotPrepare(folder, ENOTDIR);
    for (int slot = 0; slot < kSlots; ++slot) {
        const fs::path name = initialGalleryPath(slot).filename();
        const fs::path target = folder / name;
        if (fs::exists(fs::symlink_status(target, ec))) continue;
        const fs::path source = initial / name;
        if (!fs::exists(source, ec)) continue;  // nothing to start it from: the gallery shows it as unreadable
        if (const int errnum = copyWithoutReplacing(source, target)) return cannotPrepare(folder, errnum);
    }
    return std::nullopt;
}

}  // namespace pictures
