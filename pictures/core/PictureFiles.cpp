#include "pictures/core/PictureFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <new>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/core/TextFile.h"
#include "platform/core/Blanks.h"
#include "platform/core/Cp1251.h"

namespace pictures {

namespace fs = std::filesystem;
using platform::ReadRefusal;
using platform::TextReader;
using platform::TextWriter;

namespace {

// Parents see "data/ 7.mac" whether the program was given a relative or a full path.
std::string shownName(const fs::path& file) {
    const fs::path folder = file.parent_path().filename();
    return (folder.empty() ? file.filename() : folder / file.filename()).generic_string();
}

FileError damaged(const fs::path& file, const std::string& problem) {
    return {"Рисунок «" + shownName(file) + "» повреждён: " + problem + "."};
}

// The largest file a valid picture makes: a title line, two number lines and the
// cells of the largest picture, each at its longest. Anything larger is refused
// before it is read, so a huge file cannot take the program's memory.
constexpr std::uintmax_t kMaxLineBytes = 64 * 1024;
constexpr std::uintmax_t kMaxCells = std::uintmax_t{kMaxPictureSide} * kMaxPictureSide;
// "1," in a library row, and the row's CR LF.
constexpr std::uintmax_t kMaxLibraryBytes = 3 * kMaxLineBytes + kMaxCells * 3 + kMaxPictureSide * 2;
// " 16777215 " or "-1" on a line of its own.
constexpr std::uintmax_t kMaxGalleryBytes = 3 * kMaxLineBytes + kMaxCells * 12;

std::optional<TextReader> openPicture(const fs::path& file, std::uintmax_t maxBytes, std::optional<FileError>& error) {
    std::string why;
    ReadRefusal refusal = ReadRefusal::none;
    std::optional<TextReader> reader = TextReader::open(file, &why, maxBytes, &refusal);
    if (reader) return reader;
    if (refusal == ReadRefusal::tooLarge) {
        error = FileError{"Рисунок «" + shownName(file) + "» повреждён: " + why + " для рисунка."};
    } else if (refusal == ReadRefusal::notAFile) {
        error = damaged(file, why);
    } else {
        error = FileError{"Не удалось открыть рисунок «" + shownName(file) + "»: " + why + "."};
    }
    return std::nullopt;
}

// Damaged files may hold anything on a line: quote only the start of it, cut at a
// character boundary so the message stays valid UTF-8.
std::string quoted(std::string_view text) {
    constexpr std::size_t kShown = 30;
    std::size_t chars = 0;
    std::size_t end = 0;
    while (end < text.size() && chars < kShown) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
        ++chars;
    }
    std::string out = "«";
    out.append(text.substr(0, end));
    if (end < text.size()) out += "…";
    out += "»";
    return out;
}

using platform::isBlank;
using platform::trimmed;

enum class Parsed { number, notNumber, outOfRange };

// A decimal number alone on its line, blanks around it allowed, rounded down.
// Whole numbers, by far the common case, skip the floating-point parse.
Parsed parseFloor(std::string_view line, long long& out) {
    std::string_view s = trimmed(line);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    const char* const first = s.data();
    const char* const last = s.data() + s.size();
    if (const auto [end, ec] = std::from_chars(first, last, out); ec == std::errc() && end == last) {
        return Parsed::number;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (end != last || s.empty()) return Parsed::notNumber;
    if (ec == std::errc::result_out_of_range) return Parsed::outOfRange;
    if (ec != std::errc() || !std::isfinite(value)) return Parsed::notNumber;
    value = std::floor(value);
    if (value < -9.0e18 || value > 9.0e18) return Parsed::outOfRange;
    out = static_cast<long long>(value);
    return Parsed::number;
}

// Reads line 2 or 3 of the header: the number of rows or of columns.
std::optional<FileError> readSide(TextReader& reader, std::string& line, const fs::path& file, int lineNumber,
                                  const char* what, int& side) {
    const std::string where = "в строке " + std::to_string(lineNumber) + " должно быть " + what;
    if (!reader.readLine(line)) {
        return damaged(file, std::string("файл кончается раньше, чем заголовок: нет строки ") +
                                 std::to_string(lineNumber) + ", где должно быть " + what);
    }
    long long value = 0;
    switch (parseFloor(line, value)) {
        case Parsed::notNumber:
            return damaged(file, where + ", а там " + (trimmed(line).empty() ? "пусто" : quoted(trimmed(line))));
        case Parsed::outOfRange:
            value = trimmed(line).front() == '-' ? -1 : std::numeric_limits<long long>::max();
            break;
        case Parsed::number:
            break;
    }
    if (value < 0) return damaged(file, where + ", а там отрицательное число " + quoted(trimmed(line)));
    if (value > kMaxPictureSide) {
        return damaged(file,
                       where + " не больше " + std::to_string(kMaxPictureSide) + ", а там " + quoted(trimmed(line)));
    }
    side = static_cast<int>(value);
    return std::nullopt;
}

// Title, rows and columns: the three lines both kinds of file start with.
template <typename Picture>
std::optional<FileError> readHeader(TextReader& reader, const fs::path& file, Picture& picture) {
    if (!reader.readLine(picture.title)) return damaged(file, "файл пуст");
    picture.title = shortTitle(picture.title);
    std::string line;
    if (auto error = readSide(reader, line, file, 2, "число строк", picture.height)) return error;
    if (auto error = readSide(reader, line, file, 3, "число столбцов", picture.width)) return error;
    return std::nullopt;
}

FileError truncated(const fs::path& file, std::size_t have, const auto& picture) {
    return damaged(file, "файл обрывается: точек в нём " + std::to_string(have) + ", а должно быть " +
                             std::to_string(static_cast<std::size_t>(picture.height) * picture.width) + " (" +
                             std::to_string(picture.height) + " × " + std::to_string(picture.width) + ")");
}

// Room for every cell the header promises; bounded by the largest picture, yet
// memory may still run short, and that must not stop the program.
template <typename Picture>
std::optional<FileError> makeRoom(Picture& picture, const fs::path& file) {
    try {
        picture.cells.resize(static_cast<std::size_t>(picture.height) * picture.width);
    } catch (const std::bad_alloc&) {
        return FileError{"Не удалось открыть рисунок «" + shownName(file) + "»: не хватает памяти."};
    }
    return std::nullopt;
}

fs::path folderOf(const fs::path& file) { return file.parent_path().empty() ? fs::path(".") : file.parent_path(); }

// Makes the rename itself survive a power cut. Some file systems refuse to sync a
// folder; the new file is complete either way, so that is not a failure.
void syncFolder(const fs::path& file) {
    const int fd = ::open(folderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// A title with a line break would shift every line after it and spoil the file.
std::string oneLine(std::string title) {
    for (char& c : title) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return title;
}

// The characters of a number line: NumberText and one blank after it.
std::string_view numberLine(char (&buffer)[24], long long n) {
    char* p = buffer;
    if (n >= 0) *p++ = ' ';
    p = std::to_chars(p, buffer + sizeof buffer - 1, n).ptr;
    *p++ = ' ';
    return {buffer, static_cast<std::size_t>(p - buffer)};
}

// "gl 4.mac.<process>-<count>.new": unique to this save among all running copies.
fs::path temporaryFor(const fs::path& file) {
    static std::atomic<unsigned> count{0};
    fs::path temporary = file;
    temporary += "." + std::to_string(::getpid()) + "-" + std::to_string(count++) + ".new";
    return temporary;
}

bool isTemporaryOf(const std::string& name, const std::string& slotName) {
    const std::string suffix = ".new";
    return name.size() >= slotName.size() + suffix.size() && name.compare(0, slotName.size() + 1, slotName + ".") == 0 &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Removes what saves of this slot that were killed left behind. A file that a save
// still writes is locked by it (and new); those are left alone.
void removeLeftovers(const fs::path& file) {
    constexpr std::time_t kQuietSeconds = 5;
    const std::string slotName = file.filename().string();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folderOf(file), ec)) {
        const std::string name = entry.path().filename().string();
        if (!isTemporaryOf(name, slotName)) continue;
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        struct stat info {};
        const bool quiet = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_mtime + kQuietSeconds < std::time(nullptr);
        if (quiet && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(entry.path().c_str());
        ::close(fd);
    }
}

// The next cell of a library body. Cells are fields ended by a comma or a line
// end, in any mix, and every one of those ends a field: an empty field between
// two commas, before a line end or on an empty line is a cell too. Only "0" and
// "1" are drawn; anything else, empty included, is a hole the canvas shows
// through (-1). The line end after the file's last field starts no new one.
bool nextLibraryCell(std::string_view body, std::size_t& at, std::int8_t& value) {
    const std::size_t n = body.size();
    std::size_t p = at;
    if (p == n) return false;
    while (p < n && isBlank(body[p])) ++p;
    std::size_t begin = p, end = p;
    const auto separator = [&](std::size_t q) { return body[q] == ',' || body[q] == '\r' || body[q] == '\n'; };
    if (p < n && body[p] == '"') {  // a quoted field runs to the next quote; what follows it is dropped
        begin = p + 1;
        end = std::min(body.find('"', begin), n);
        p = end < n ? end + 1 : n;
        while (p < n && !separator(p)) ++p;
    } else {
        while (p < n && !separator(p)) ++p;
        end = p;
        while (end > begin && isBlank(body[end - 1])) --end;
    }
    if (p < n) p += body[p] == '\r' && p + 1 < n && body[p + 1] == '\n' ? 2 : 1;
    at = p;
    value = end - begin == 1 && (body[begin] == '0' || body[begin] == '1') ? static_cast<std::int8_t>(body[begin] - '0')
                                                                           : std::int8_t{-1};
    return true;
}

bool isControl(char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F; }

}  // namespace

std::string shortTitle(std::string_view utf8) {
    std::string out;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < utf8.size() && chars < static_cast<std::size_t>(kMaxTitleChars); ++chars) {
        std::size_t next = i + 1;
        while (next < utf8.size() && (static_cast<unsigned char>(utf8[next]) & 0xC0) == 0x80) ++next;
        if (isControl(utf8[i])) out += ' ';
        else out.append(utf8.substr(i, next - i));
        i = next;
    }
    return out;
}

std::string NumberText(long long n) {
    char buffer[24];
    std::string_view line = numberLine(buffer, n);
    line.remove_suffix(1);
    return std::string(line);
}

fs::path libraryPicturePath(int number) { return fs::path("data") / (NumberText(number) + ".mac"); }


std::variant<LibraryPicture, FileError> readLibraryPicture(const fs::path& file, const Progress& progress) {
    std::optional<FileError> error;
    std::optional<TextReader> reader = openPicture(file, kMaxLibraryBytes, error);
    if (!reader) return *error;
    LibraryPicture picture;
    if (auto error = readHeader(*reader, file, picture)) return *error;

    if (auto error = makeRoom(picture, file)) return *error;
    const std::string_view body = reader->rest();
    std::size_t at = 0;
    std::size_t cell = 0;
    for (int r = 1; r <= picture.height; ++r) {
        for (int c = 1; c <= picture.width; ++c, ++cell) {
            if (!nextLibraryCell(body, at, picture.cells[cell])) return truncated(file, cell, picture);
        }
        if (progress) progress(r, picture.height);
    }
    return picture;
}

void drawLibraryPicture(const LibraryPicture& picture, PixelBuffer& canvas) {
    const int rows = std::min(picture.height, canvas.height() - 1);
    const int columns = std::min(picture.width, canvas.width());
    for (int r = 1; r <= rows; ++r) {
        const std::int8_t* row = picture.cells.data() + static_cast<std::size_t>(r - 1) * picture.width;
        for (int c = 1; c <= columns; ++c) {
            const std::int8_t value = row[c - 1];
            if (value >= 0) canvas.setPixel(c - 1, r, value == 0 ? platform::kBlack : platform::kWhite);
        }
    }
}

// The cells as the program writes them, one whole number a line with blanks
// around it, read straight from the bytes: several times faster than line by
// line. False at the first line of any other form, or at any damage; the reading
// line by line then says what is wrong, or reads the other forms.
bool readPlainCells(std::string_view bytes, GalleryPicture& picture, const Progress& progress) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    auto number = [&](long long& value) {
        while (p < end && isBlank(*p)) ++p;
        const bool negative = p < end && *p == '-';
        if (negative) ++p;
        const char* const digits = p;
        value = 0;
        while (p < end && *p >= '0' && *p <= '9' && p - digits < 10) value = value * 10 + (*p++ - '0');
        if (p == digits) return false;
        if (negative) value = -value;
        while (p < end && isBlank(*p)) ++p;
        if (p < end && *p == '\r') ++p;
        if (p < end && *p != '\n') return false;
        if (p < end) ++p;
        return true;
    };
    ColourNumber* cell = picture.cells.data();
    for (int r = 1; r <= picture.height; ++r) {
        for (int c = 1; c <= picture.width; ++c, ++cell) {
            long long value = 0;
            if (p == end || !number(value) || value < platform::kNoColour || value > platform::kWhite) return false;
            *cell = value == 1 ? platform::kWhite : static_cast<ColourNumber>(value);
        }
        if (progress) progress(r, picture.height);
    }
    return true;
}

std::variant<GalleryPicture, FileError> readGalleryPicture(const fs::path& file, const Progress& progress) {
    std::optional<FileError> error;
    std::optional<TextReader> reader = openPicture(file, kMaxGalleryBytes, error);
    if (!reader) return *error;
    GalleryPicture picture;
    if (auto error = readHeader(*reader, file, picture)) return *error;

    if (auto error = makeRoom(picture, file)) return *error;
    if (readPlainCells(reader->rest(), picture, progress)) return picture;
    std::size_t cell = 0;
    std::string_view line;
    for (int r = 1; r <= picture.height; ++r) {
        for (int c = 1; c <= picture.width; ++c, ++cell) {
            if (!reader->readLineBytes(line)) return truncated(file, cell, picture);
            long long value = 0;
            const Parsed parsed = parseFloor(line, value);
            // A colour number, or -1 for a pixel that was outside the canvas.
            if (parsed != Parsed::number || value < platform::kNoColour || value > platform::kWhite) {
                // Lines 1..3 are the header, so cell 0 is on line 4.
                const std::string where = "в строке " + std::to_string(cell + 4);
                const std::string seen = platform::cp1251ToUtf8(trimmed(line));
                if (parsed == Parsed::notNumber) {
                    return damaged(file, where + " должен быть цвет точки, а там " + (seen.empty() ? "пусто" : quoted(std::string_view(seen))));
                }
                return damaged(file, where + " вместо цвета точки число вне допустимых пределов " + quoted(std::string_view(seen)));
            }
            picture.cells[cell] = value == 1 ? platform::kWhite : static_cast<ColourNumber>(value);
        }
        if (progress) progress(r, picture.height);
    }
    return picture;
}

void drawGalleryPicture(const GalleryPicture& picture, PixelBuffer& canvas) {
    const int rows = std::min(picture.height, canvas.height() - 1);
    const int columns = std::min(picture.width, canvas.width());
    for (int r = 1; r <= rows; ++r) {
        const ColourNumber* row = picture.cells.data() + static_cast<std::size_t>(r - 1) * picture.width;
        for (int c = 1; c <= columns; ++c) {
            // -1 is how a pixel outside the canvas was saved: there is nothing to draw.
            if (row[c - 1] != platform::kNoColour) canvas.setPixel(c - 1, r, row[c - 1]);
        }
    }
}

std::variant<std::string, FileError> readGalleryTitle(const fs::path& file) {
    std::string why;
    // The title is on the first line: nothing further of a slot is read for it,
    // and no more of that line than a title can show.
    std::optional<TextReader> reader = TextReader::openStart(file, 4 * kMaxTitleChars, &why);
    if (!reader) {
        const bool refused = why == platform::kNotAFile;
        return FileError{refused ? damaged(file, why).message : "Не удалось открыть рисунок «" + shownName(file) + "»: " + why + "."};
    }
    std::string line;
    if (!reader->readLine(line)) return damaged(file, "файл пуст");
    // Bytes that are no text, such as a file of zeros, make no title.
    if (std::any_of(line.begin(), line.end(), [](char c) { return isControl(c); })) {
        return damaged(file, "в названии рисунка есть знаки, которые не пишут");
    }
    // The first field of the line, as a comma-separated read gives it; kept to this
    // line so that an empty title does not pick up the number of rows below it.
    std::string_view s = line;
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    if (!s.empty() && s.front() == '"') {
        s.remove_prefix(1);
        return shortTitle(s.substr(0, s.find('"')));
    }
    return shortTitle(trimmed(s.substr(0, s.find(','))));
}

std::optional<FileError> saveGalleryPicture(const fs::path& file, const std::string& title, const PixelBuffer& canvas,
                                            const Progress& progress) {
    removeLeftovers(file);
    // Each save writes a file of its own, so two copies of the program saving the
    // same slot never mix their lines: the last rename wins, whole.
    fs::path temporary;
    bool created = false;
    const auto fail = [&](const std::string& reason) {
        if (created) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
        }
        return FileError{"Не удалось сохранить рисунок «" + shownName(file) + "»: " + reason + "."};
    };

    std::string why;
    std::optional<TextWriter> writer;
    // A name can still be taken by what a killed copy with the same process number left.
    for (int attempt = 0; attempt < 3; ++attempt) {
        temporary = temporaryFor(file);
        if (auto made = TextWriter::createNew(temporary, &why)) {
            writer.emplace(std::move(*made));
            break;
        }
        if (errno != EEXIST) break;
    }
    if (!writer) return fail(why);
    created = true;

    const int rows = canvas.height();
    const int columns = canvas.width();
    char buffer[24];
    bool ok = writer->writeLine(oneLine(title)) && writer->writeLine(numberLine(buffer, rows)) &&
              writer->writeLine(numberLine(buffer, columns));
    // Rows 1..height: the last lies just below the canvas and so is all -1.
    for (int r = 1; ok && r <= rows; ++r) {
        for (int c = 1; ok && c <= columns; ++c) ok = writer->writeLine(numberLine(buffer, canvas.pixel(c - 1, r)));
        if (progress) progress(r, rows);
    }
    if (!writer->commit(&why)) return fail(why);

    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int errnum = errno;
        std::error_code ec;
        // Our own file gone from a folder that is still there: something removed it meanwhile.
        if (errnum == ENOENT && fs::is_directory(folderOf(file), ec) && !fs::exists(temporary, ec)) {
            return fail("файл, в который он записывался, удалила другая программа");
        }
        return fail(platform::reasonFor(errnum));
    }
    created = false;
    syncFolder(file);
    return std::nullopt;
}

}  // namespace pictures
