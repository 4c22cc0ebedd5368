#pragma once
// A private program folder with a data folder, made the current directory for
// the life of a test, with small pictures written into it.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "pictures/core/PictureFiles.h"
#include "platform/core/Cp1251.h"

namespace testing_support {

class ProgramFolder {
public:
    ProgramFolder() {
        char name[] = "/tmp/pyatnushki-test-XXXXXX";
        root_ = mkdtemp(name);
        std::filesystem::create_directory(root_ / "data");
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(root_);
    }
    ~ProgramFolder() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::permissions(root_ / "data", std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(root_, ignored);
    }
    const std::filesystem::path& root() const { return root_; }

    // Rows of cells as strings of '0' (black), '1' (white) and '2' (leave).
    static void writeLibrary(int number, const std::string& title, const std::vector<std::string>& rows) {
        std::string text = platform::utf8ToCp1251(title) + "\r\n " + std::to_string(rows.size()) + "\r\n " +
                           std::to_string(rows.empty() ? 0 : rows[0].size()) + "\r\n";
        for (const std::string& row : rows) {
            for (std::size_t c = 0; c < row.size(); ++c) text += std::string(c ? "," : "") + row[c];
            text += "\r\n";
        }
        writeBytes(pictures::libraryPicturePath(number), text);
    }
    static void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string readBytes(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

private:
    std::filesystem::path root_;
    std::filesystem::path previous_;
};

}  // namespace testing_support
