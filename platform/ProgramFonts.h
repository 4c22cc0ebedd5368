#pragma once
#include <string>
#include <vector>

namespace platform {

// The folders Debian's packages install the free faces in (see Font.h).
std::vector<std::string> programFontFolders();

// Qt reads its font database from fontconfig, whose desktop configuration
// (dozens of files, every installed font) takes a large part of a start to read,
// and more on a desktop with many fonts. The program draws only the free faces
// its design maps to: this makes fontconfig read just their folders, with the
// desktop's own rendering rules (hinting, antialiasing, synthetic styles), so
// the faces look as before and as on every other machine. Called before the
// application object exists. Returns false and changes nothing when a face is
// missing from the folders; the desktop's configuration is then read as usual.
bool useProgramFonts(const std::vector<std::string>& folders = programFontFolders());

}  // namespace platform
