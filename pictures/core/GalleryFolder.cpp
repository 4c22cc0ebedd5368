#include "pictures/core/GalleryFolder.h"

#include <cerrno>
#include <chrono>
#include <ctime>
#include <string>
#include <system_error>

#include "platform/core/Files.h"
#include "platform/core/TextFile.h"
#include "platform/core/UserFolders.h"

namespace pictures {

namespace fs = std::filesystem;

namespace {

fs::path& current() {
    static fs::path folder = "data";
    return folder;
}

// The colouring window's canvas before any picture is loaded.
constexpr int kPageWidth = 696, kPageHeight = 903;
constexpr const char* kBlankTitle = "Мой рисунок";

FileError cannotPrepare(const fs::path& folder, int errnum) {
    // A file standing where a folder on the way should be.
    const std::string reason = errnum == EEXIST ? platform::reasonFor(ENOTDIR) : platform::reasonFor(errnum);
    return {"Не удалось подготовить папку для рисунков «" + folder.string() + "»: " + reason +
            ". Раскрашивать можно, но сохранить рисунок в галерею не получится."};
}

bool savedFileIsThere(const fs::path& file) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(file, ec));
}

// "gl 4.mac.1234.seed": what a copy of a starting picture by an earlier version
// left when it was killed or the disk filled up.
bool isSeedLeftover(const std::string& name) {
    const std::string suffix = ".seed";
    if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
    const std::size_t mac = name.find(".mac.");
    return name.compare(0, 2, "gl") == 0 && mac != std::string::npos &&
           name.find_first_not_of("0123456789", mac + 5) == name.size() - suffix.size();
}

bool isUnchangedEarlierStart(const fs::path& file, std::uintmax_t bytes, std::span<const EarlierStartingPicture> list) {
    const std::string name = file.filename().string();
    for (const EarlierStartingPicture& earlier : list) {
        if (earlier.bytes != bytes || name != "gl" + NumberText(earlier.slot) + ".mac") continue;
        const std::optional<std::string> sum = platform::sha256OfFile(file, bytes);
        return sum && *sum == earlier.sha256;
    }
    return false;
}

}  // namespace

const fs::path& galleryFolder() { return current(); }
void useGalleryFolder(fs::path folder) { current() = std::move(folder); }

fs::path galleryPath(int slot) { return galleryFolder() / ("gl" + NumberText(slot) + ".mac"); }

std::optional<fs::path> userGalleryFolder() { return platform::userDataFolder(); }

std::variant<GalleryPicture, FileError> startingPicture(int slot, const Progress& progress) {
    if (slot < 0 || slot >= kGallerySlots) {
        return FileError{"Не удалось открыть рисунок «" + galleryPath(slot).filename().string() + "»: " +
                         platform::reasonForReading(ENOENT) + "."};
    }
    GalleryPicture picture;
    platform::PixelBuffer page;
    if (slot == 0) {
        picture.title = kBlankTitle;
        page = platform::PixelBuffer(kPageWidth, kPageHeight, platform::kWhite);
    } else {
        auto read = readLibraryPicture(libraryPicturePath(slot), progress);
        if (auto* error = std::get_if<FileError>(&read)) return std::move(*error);
        LibraryPicture& library = std::get<LibraryPicture>(read);
        picture.title = std::move(library.title);
        page = platform::PixelBuffer(library.width, library.height, platform::kWhite);
        drawLibraryPicture(library, page);
    }
    // What a save of that canvas writes: rows 1..height, the last below the canvas.
    picture.width = page.width();
    picture.height = page.height();
    picture.cells.resize(static_cast<std::size_t>(picture.width) * picture.height);
    std::size_t cell = 0;
    for (int r = 1; r <= picture.height; ++r) {
        for (int c = 1; c <= picture.width; ++c) picture.cells[cell++] = page.pixel(c - 1, r);
    }
    return picture;
}

std::variant<GalleryPicture, FileError> readGallerySlot(int slot, const Progress& progress) {
    const fs::path file = galleryPath(slot);
    return savedFileIsThere(file) ? readGalleryPicture(file, progress) : startingPicture(slot, progress);
}

std::variant<std::string, FileError> readGallerySlotTitle(int slot) {
    const fs::path file = galleryPath(slot);
    if (savedFileIsThere(file)) return readGalleryTitle(file);
    if (slot == 0) return std::string(kBlankTitle);
    if (slot < 0 || slot >= kGallerySlots) return readGalleryTitle(file);  // says it is not there
    // A library picture's title is its whole first line.
    std::string why;
    const std::optional<std::string> start = platform::readFileStart(libraryPicturePath(slot), 4 * kMaxTitleChars, &why);
    if (!start) return FileError{"Не удалось открыть рисунок «" + libraryPicturePath(slot).generic_string() + "»: " + why + "."};
    platform::TextReader reader(*start);
    std::string title;
    reader.readLine(title);
    return shortTitle(title);
}

std::optional<FileError> prepareGalleryFolder(const fs::path& folder, std::span<const EarlierStartingPicture> earlier) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return cannotPrepare(folder, ec.value());
    if (!fs::is_directory(folder, ec)) return cannotPrepare(folder, ENOTDIR);
    constexpr std::time_t kQuietSeconds = 60;  // an earlier version still copying is left to finish
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::error_code entryError;
        if (!entry.is_regular_file(entryError) || entry.is_symlink(entryError)) continue;
        const std::string name = entry.path().filename().string();
        const std::uintmax_t bytes = entry.file_size(entryError);
        if (entryError) continue;
        bool remove = isUnchangedEarlierStart(entry.path(), bytes, earlier);
        if (!remove && isSeedLeftover(name)) {
            const auto written = fs::last_write_time(entry.path(), entryError);
            remove = !entryError && written + std::chrono::seconds(kQuietSeconds) < fs::file_time_type::clock::now();
        }
        if (remove) fs::remove(entry.path(), entryError);
    }
    return std::nullopt;
}

}  // namespace pictures
