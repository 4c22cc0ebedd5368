#pragma once
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "pictures/core/EarlierStartingPictures.h"
#include "pictures/core/PictureFiles.h"

namespace pictures {

// The child's own slots live in a folder of the user's, so rebuilding,
// reinstalling or removing the program never touches them. A slot the child
// never saved has no file there: it reads as its starting picture, made from
// the program's library picture when it is needed, so the folder holds only
// what the child made.

inline constexpr int kGallerySlots = 36;  // gl 0.mac … gl 35.mac

// Where gallery slots are read and saved; "data" until the program sets the user's folder.
const std::filesystem::path& galleryFolder();
void useGalleryFolder(std::filesystem::path folder);

// The user's own folder of the program (platform::userDataFolder).
std::optional<std::filesystem::path> userGalleryFolder();

// The picture a slot starts as: slot 0 a blank page "Мой рисунок" the size of
// the colouring window's canvas, slot k library picture k drawn on white, with
// its title, as the canvas shows it once loaded.
std::variant<GalleryPicture, FileError> startingPicture(int slot, const Progress& progress = {});

// What slot k holds: the saved file when there is one (read and checked, as
// readGalleryPicture does), else its starting picture.
std::variant<GalleryPicture, FileError> readGallerySlot(int slot, const Progress& progress = {});
// The title the gallery lists for slot k, read the same way.
std::variant<std::string, FileError> readGallerySlotTitle(int slot);

// Makes the folder if needed and takes out what earlier versions put there and
// the child never changed: byte-for-byte copies of their starting pictures and
// what an interrupted copy left. Nothing else in it is touched. Returns a
// message for the user when the folder cannot be made.
// `earlier` lists the starting pictures of earlier versions.
std::optional<FileError> prepareGalleryFolder(const std::filesystem::path& folder,
                                              std::span<const EarlierStartingPicture> earlier = kEarlierStartingPictures);

}  // namespace pictures
