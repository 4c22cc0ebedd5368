#pragma once
#include <filesystem>
#include <optional>

namespace platform {

// The program's folder among the user's data: $XDG_DATA_HOME/pyatnushki, or
// ~/.local/share/pyatnushki when that is not set (or not absolute); none when
// neither tells where the user's home is. The same in every session of the user.
std::optional<std::filesystem::path> userDataFolder();

}  // namespace platform
