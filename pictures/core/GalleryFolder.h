#pragma once
#include <filesystem>
#include <optional>

#include "pictures/core/PictureFiles.h"

namespace pictures {

// The gallery's starting pictures come with the program, in "data" beside it;
// the child's own slots live in a folder of the user's, so rebuilding,
// reinstalling or removing the program never touches them.

// Where gallery slots are read and saved; "data" until the program sets the user's folder.
const std::filesystem::path& galleryFolder();
void useGalleryFolder(std::filesystem::path folder);

// The starting picture of a slot, as shipped: data/gl N.mac in the program's folder.
std::filesystem::path initialGalleryPath(int slot);

// $XDG_DATA_HOME/pyatnushki, or ~/.local/share/pyatnushki when that is not set
// (or not absolute); none when neither tells where the user's home is.
std::optional<std::filesystem::path> userGalleryFolder();

// Makes the folder if needed and copies into it every slot it lacks from the
// starting pictures in `initial`. A slot that is there is never replaced, not
// even by a copy of the program starting at the same moment. Returns a message
// for the user when the folder cannot be made or a missing slot not written.
std::optional<FileError> seedGallery(const std::filesystem::path& initial, const std::filesystem::path& folder);

}  // namespace pictures
