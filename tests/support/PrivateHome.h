#pragma once
// A home of its own for the life of the object: HOME, XDG_CONFIG_HOME and
// XDG_STATE_HOME point into a fresh temporary folder, so what the program keeps
// between runs or writes for the family never reaches the real user, nor
// another test. The earlier values come back at the end.
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

class PrivateHome {
public:
    PrivateHome() {
        const std::string root = folder_.path().toStdString();
        for (const auto& [name, value] : {std::pair<const char*, std::string>{"HOME", root},
                                          {"XDG_CONFIG_HOME", root + "/.config"},
                                          {"XDG_STATE_HOME", root + "/.local/state"}}) {
            const char* old = std::getenv(name);
            saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
            ::setenv(name, value.c_str(), 1);
        }
    }
    ~PrivateHome() {
        for (const auto& [name, value] : saved_) {
            if (value) ::setenv(name, value->c_str(), 1);
            else ::unsetenv(name);
        }
    }
    PrivateHome(const PrivateHome&) = delete;
    PrivateHome& operator=(const PrivateHome&) = delete;

    std::filesystem::path path() const { return folder_.path().toStdString(); }

private:
    QTemporaryDir folder_;
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

}  // namespace testing_support
