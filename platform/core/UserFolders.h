#pragma once
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace platform {

// The program's folder among the user's data: $XDG_DATA_HOME/pyatnushki, or
// ~/.local/share/pyatnushki when that is not set (or not absolute); none when
// neither tells where the user's home is. The same in every session of the user.
std::optional<std::filesystem::path> userDataFolder();

// Where the program keeps its own state between runs: $XDG_STATE_HOME/pyatnushki,
// or ~/.local/state/pyatnushki.
std::optional<std::filesystem::path> userStateFolder();

// Where pictures and booklets for the family go: the subfolder «Пятнушки» of the
// desktop's Pictures folder, as $XDG_CONFIG_HOME/user-dirs.dirs names it
// (XDG_PICTURES_DIR), or of ~/Pictures when it names none.
std::optional<std::filesystem::path> familyFolder();

// A file name for the family: the title and the local date and time, such as
// "Лиса 2026-12-10 14.03"; characters a file name cannot hold become blanks, and
// an empty title is "Рисунок". copy 2, 3, … adds " (2)", " (3)", ….
std::string familyFileStem(const std::string& title, std::time_t when, int copy = 1);

}  // namespace platform
