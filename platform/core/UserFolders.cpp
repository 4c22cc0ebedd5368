#include "platform/core/UserFolders.h"

#include <cstdlib>

namespace platform {

namespace fs = std::filesystem;

std::optional<fs::path> userDataFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && fs::path(data).is_absolute()) {
        return fs::path(data) / "pyatnushki";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return fs::path(home) / ".local" / "share" / "pyatnushki";
    }
    return std::nullopt;
}

}  // namespace platform
