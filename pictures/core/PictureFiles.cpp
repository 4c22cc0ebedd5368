#include "pictures/core/PictureFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/core/TextFile.h"

namespace pictures {

namespace fs = std::filesystem;
using platform::TextReader;
using platform::TextWriter;

namespace {

// Parents see "data/ 7.mac" whether the program was given a relative or a full path.
std::string shownName(const fs::path& file) {
    const fs::path folder = file.parent_path().filename();
    return (folder.empty() ? file.filename() : folder / file.filename()).generic_string();
}

FileError cannotOpen(const fs::path& file, const std::string& why) {
    return {"Не удалось открыть рисунок «" + shownName(file) + "»: " + why + "."};
}

FileError damaged(const fs::path& file, const std::string& problem) {
    return {"Рисунок «" + shownName(file) + "» повреждён: " + problem + "."};
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

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

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

// Why an operation of the file system failed, in words for a parent.
std::string reasonOf(std::error_code ec) {
    switch (static_cast<std::errc>(ec.value())) {
        case std::errc::no_space_on_device:
            return "на диске не хватает места";
        case std::errc::permission_denied:
        case std::errc::operation_not_permitted:
            return "нет доступа к папке";
        case std::errc::read_only_file_system:
            return "диск защищён от записи";
        case std::errc::no_such_file_or_directory:
        case std::errc::not_a_directory:
            return "папка не найдена";
        case std::errc::is_a_directory:
        case std::errc::directory_not_empty:
            return "на месте файла лежит папка";
        default:
            return "не удалось записать файл";
    }
}

// The stream closes without telling whether the data reached the disk; fsync does.
std::optional<std::string> syncToDisk(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return reasonOf({errno, std::generic_category()});
    std::optional<std::string> reason;
    if (::fsync(fd) != 0) reason = reasonOf({errno, std::generic_category()});
    ::close(fd);
    return reason;
}

// Makes the rename itself survive a power cut. Some file systems refuse to sync a
// folder; the new file is complete either way, so that is not a failure.
void syncFolder(const fs::path& file) {
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

}  // namespace

std::string NumberText(long long n) {
    char buffer[24];
    std::string_view line = numberLine(buffer, n);
    line.remove_suffix(1);
    return std::string(line);
}

fs::path libraryPicturePath(int number) { return fs::path("data") / (NumberText(number) + ".mac"); }

fs::path galleryPath(int slot) { return fs::path("data") / ("gl" + NumberText(slot) + ".mac"); }

std::variant<LibraryPicture, FileError> readLibraryPicture(const fs::path& file, const Progress& progress) {
    std::string why;
    std::optional<TextReader> reader = TextReader::open(file, &why);
    if (!reader) return cannotOpen(file, why);
    LibraryPicture picture;
    if (auto error = readHeader(*reader, file, picture)) return *error;

    picture.cells.resize(static_cast<std::size_t>(picture.height) * picture.width);
    std::size_t cell = 0;
    std::string field;
    for (int r = 1; r <= picture.height; ++r) {
        for (int c = 1; c <= picture.width; ++c, ++cell) {
            if (!reader->readField(field)) return truncated(file, cell, picture);
            // Only "0" and "1" are drawn; anything else is a hole the canvas shows through.
            std::int8_t value = -1;
            if (field.size() == 1 && (field[0] == '0' || field[0] == '1'))
                value = static_cast<std::int8_t>(field[0] - '0');
            picture.cells[cell] = value;
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

std::variant<GalleryPicture, FileError> readGalleryPicture(const fs::path& file, const Progress& progress) {
    std::string why;
    std::optional<TextReader> reader = TextReader::open(file, &why);
    if (!reader) return cannotOpen(file, why);
    GalleryPicture picture;
    if (auto error = readHeader(*reader, file, picture)) return *error;

    picture.cells.resize(static_cast<std::size_t>(picture.height) * picture.width);
    std::size_t cell = 0;
    std::string line;
    for (int r = 1; r <= picture.height; ++r) {
        for (int c = 1; c <= picture.width; ++c, ++cell) {
            if (!reader->readLine(line)) return truncated(file, cell, picture);
            long long value = 0;
            const Parsed parsed = parseFloor(line, value);
            if (parsed != Parsed::number || value < std::numeric_limits<ColourNumber>::min() ||
                value > std::numeric_limits<ColourNumber>::max()) {
                // Lines 1..3 are the header, so cell 0 is on line 4.
                const std::string where = "в строке " + std::to_string(cell + 4);
                if (parsed == Parsed::notNumber) {
                    return damaged(file, where + " должен быть цвет точки, а там " +
                                             (trimmed(line).empty() ? "пусто" : quoted(trimmed(line))));
                }
                return damaged(file,
                               where + " вместо цвета точки число вне допустимых пределов " + quoted(trimmed(line)));
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
    std::optional<TextReader> reader = TextReader::open(file, &why);
    if (!reader) return cannotOpen(file, why);
    std::string line;
    if (!reader->readLine(line)) return damaged(file, "файл пуст");
    // The first field of the line, as a comma-separated read gives it; kept to this
    // line so that an empty title does not pick up the number of rows below it.
    std::string_view s = line;
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    if (!s.empty() && s.front() == '"') {
        s.remove_prefix(1);
        return std::string(s.substr(0, s.find('"')));
    }
    return std::string(trimmed(s.substr(0, s.find(','))));
}

std::optional<FileError> saveGalleryPicture(const fs::path& file, const std::string& title, const PixelBuffer& canvas,
                                            const Progress& progress) {
    fs::path temporary = file;
    temporary += ".new";
    bool created = false;
    const auto fail = [&](const std::string& reason) {
        if (created) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
        }
        return FileError{"Не удалось сохранить рисунок «" + shownName(file) + "»: " + reason + "."};
    };

    // A temporary file left by a save that was cut short is simply overwritten.
    std::string why;
    std::optional<TextWriter> writer = TextWriter::create(temporary, &why);
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
    if (!writer->commit(&why)) {
        // The writer cannot tell a full disk from other failures; the free space can.
        std::error_code ec;
        const fs::space_info space = fs::space(temporary, ec);
        const auto needed = static_cast<std::uintmax_t>(rows) * static_cast<std::uintmax_t>(columns) * 11 + 4096;
        if (!ec && space.available < needed) why = reasonOf(std::make_error_code(std::errc::no_space_on_device));
        return fail(why);
    }
    if (auto reason = syncToDisk(temporary)) return fail(*reason);

    std::error_code ec;
    fs::rename(temporary, file, ec);
    if (ec) return fail(reasonOf(ec));
    syncFolder(file);
    return std::nullopt;
}

}  // namespace pictures
