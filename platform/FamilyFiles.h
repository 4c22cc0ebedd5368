#pragma once
// Files the family keeps, outside the program's own folders: pictures as PNG
// files in the desktop's Pictures folder, where they can be found and sent.
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

#include "platform/core/PixelBuffer.h"

namespace platform {

// The pixels as the bytes of a PNG file, colour for colour.
std::string pngOf(const PixelBuffer& pixels);

// Writes the bytes whole as a new file "TITLE DATE TIME.EXTENSION" in the
// family's folder (familyFolder()), made when missing; a name already taken gets
// " (2)", " (3)", …, so nothing earlier is overwritten. Returns the file written,
// or the reason in words when nothing was.
std::variant<std::filesystem::path, std::string> keepForFamily(const std::string& title, std::string_view extension,
                                                               std::string_view bytes, std::time_t when);

}  // namespace platform
