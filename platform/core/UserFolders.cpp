#include "platform/core/UserFolders.h"

#include <cstdlib>
#include <fstream>

#include "platform/core/Blanks.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

std::optional<fs::path> home() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') return std::nullopt;
    return fs::path(home);
}

// $NAME when it holds an absolute path, else ~/fallback.
std::optional<fs::path> xdgFolder(const char* name, const char* fallback) {
    if (const char* value = std::getenv(name); value != nullptr && fs::path(value).is_absolute()) return fs::path(value);
    if (const auto folder = home()) return *folder / fallback;
    return std::nullopt;
}

// XDG_PICTURES_DIR="$HOME/Bilder" from the desktop's list of user folders.
std::optional<fs::path> picturesFromUserDirs(const fs::path& homeFolder) {
    const auto config = xdgFolder("XDG_CONFIG_HOME", ".config");
    if (!config) return std::nullopt;
    std::ifstream list(*config / "user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_PICTURES_DIR=";
    while (std::getline(list, line)) {
        std::string_view value = trimmed(line);
        if (value.substr(0, key.size()) != key) continue;
        value.remove_prefix(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        fs::path folder;
        if (value.substr(0, 5) == "$HOME") {
            folder = homeFolder / fs::path(std::string(value.substr(5))).relative_path();
        } else {
            folder = fs::path(std::string(value));
        }
        // A list that points the folder at the home itself has switched it off.
        if (!folder.is_absolute() || folder.lexically_normal() == homeFolder.lexically_normal() ||
            folder.lexically_normal() == (homeFolder / "").lexically_normal()) {
            return std::nullopt;
        }
        return folder;
    }
    return std::nullopt;
}

}  // namespace

std::optional<fs::path> userDataFolder() {
    if (const auto folder = xdgFolder("XDG_DATA_HOME", ".local/share")) return *folder / "pyatnushki";
    return std::nullopt;
}

std::optional<fs::path> userStateFolder() {
    if (const auto folder = xdgFolder("XDG_STATE_HOME", ".local/state")) return *folder / "pyatnushki";
    return std::nullopt;
}

std::optional<fs::path> familyFolder() {
    const auto homeFolder = home();
    if (!homeFolder) return std::nullopt;
    const fs::path pictures = picturesFromUserDirs(*homeFolder).value_or(*homeFolder / "Pictures");
    return pictures / "Пятнушки";
}

std::string familyFileStem(const std::string& title, std::time_t when, int copy) {
    std::string name;
    for (const char c : title) {
        const auto byte = static_cast<unsigned char>(c);
        name += byte < 0x20 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
                        c == '>' || c == '|' || byte == 0x7F
                    ? ' '
                    : c;
    }
    std::string_view shown = trimmed(name);
    while (!shown.empty() && shown.front() == '.') shown.remove_prefix(1);  // no hidden files
    // File names hold 255 bytes: 60 characters of a title are plenty to find it by.
    constexpr std::size_t kMostChars = 60;
    std::size_t end = 0;
    for (std::size_t chars = 0; end < shown.size() && chars < kMostChars; ++chars) {
        ++end;
        while (end < shown.size() && (static_cast<unsigned char>(shown[end]) & 0xC0) == 0x80) ++end;
    }
    shown = trimmed(shown.substr(0, end));
    std::string stem = shown.empty() ? std::string("Рисунок") : std::string(shown);
    std::tm local{};
    ::localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, " %Y-%m-%d %H.%M", &local);
    stem += stamp;
    if (copy > 1) stem += " (" + std::to_string(copy) + ")";
    return stem;
}

}  // namespace platform
