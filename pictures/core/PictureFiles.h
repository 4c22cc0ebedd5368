#pragma once
// The ".mac" picture files in the folder data: library pictures (black-and-white
// line art the child colours) and gallery slots (saved colourings).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/core/PixelBuffer.h"

namespace pictures {

using platform::ColourNumber;
using platform::PixelBuffer;

// A number as file names and gallery lines write it: one leading blank for zero
// or a positive number, the minus sign for a negative one ("7" -> " 7", -1 -> "-1").
std::string NumberText(long long n);

// "data/ 7.mac" for picture 7; "data/gl 7.mac" for slot 7, "data/gl-1.mac" for slot -1.
std::filesystem::path libraryPicturePath(int number);
// The slot's file in the gallery's folder (GalleryFolder.h).
std::filesystem::path galleryPath(int slot);

// Pictures larger than this in either direction are refused as damaged, and so is
// a file larger than the largest such picture can make.
inline constexpr int kMaxPictureSide = 2000;

// A title longer than this is cut there: the list and the title label show no more.
inline constexpr int kMaxTitleChars = 100;
// The title as shown: cut to kMaxTitleChars characters, control characters as blanks.
std::string shortTitle(std::string_view utf8);

// Told the row being handled (1..rows) as a picture is read or written.
using Progress = std::function<void(int row, int rows)>;

// A file that could not be used: a message for the user naming the file and the problem.
struct FileError {
    std::string message;
};

// A library picture, read whole and checked before anything is drawn.
struct LibraryPicture {
    std::string title;
    int height = 0;
    int width = 0;
    // Row by row from row 1, columns 1..width: 0 black, 1 white, -1 leaves the pixel.
    std::vector<std::int8_t> cells;
};
std::variant<LibraryPicture, FileError> readLibraryPicture(const std::filesystem::path& file,
                                                           const Progress& progress = {});
// Cell (c, r) lands on pixel (c - 1, r): row 0 is never drawn, row height falls below.
void drawLibraryPicture(const LibraryPicture& picture, PixelBuffer& canvas);

// A gallery slot, read whole and checked before anything is drawn.
struct GalleryPicture {
    std::string title;
    int height = 0;
    int width = 0;
    // Row by row from row 1: colour numbers as stored (1 already turned to white).
    std::vector<ColourNumber> cells;
};
std::variant<GalleryPicture, FileError> readGalleryPicture(const std::filesystem::path& file,
                                                           const Progress& progress = {});
void drawGalleryPicture(const GalleryPicture& picture, PixelBuffer& canvas);

// The first comma-separated field of the first line, quotes dropped, cut to
// kMaxTitleChars; a first line holding control characters is no title.
std::variant<std::string, FileError> readGalleryTitle(const std::filesystem::path& file);

// Writes title, the canvas's height and width and its pixels (rows 1..height,
// the last of them outside the canvas and so written as -1) to the slot's file.
// The new file is written under a name of its own beside the old one and replaces
// it only once it is complete and on the disk, so a failed or interrupted save
// leaves the old slot intact, and two saves of one slot never mix. What killed
// saves of the slot left behind is removed first.
std::optional<FileError> saveGalleryPicture(const std::filesystem::path& file, const std::string& title,
                                            const PixelBuffer& canvas, const Progress& progress = {});

}  // namespace pictures
