#pragma once
// Reading and writing whole files so that nothing the disk or the folder holds
// can hang, crash or mislead the program: a pipe or a device where a file should
// be, a file larger than its kind can be, a disk that fills up halfway.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Why a file operation failed (an errno value), in Russian words for a parent;
// never the system's own English text.
std::string reasonFor(int errnum);
// The same for a file being opened to read: "файл не найден" rather than a folder.
std::string reasonForReading(int errnum);

// What a read was refused for, besides the reason in words.
enum class ReadRefusal { none, cannotOpen, tooLarge, notAFile };

// The reason given for a pipe, a device or a socket where a file should be.
inline constexpr const char* kNotAFile = "это не обычный файл";

inline constexpr std::uintmax_t kNoLimit = UINTMAX_MAX;

// The whole of a regular file that holds at most maxBytes. The file is opened
// without waiting (a named pipe with no writer would block for good) and refused
// unless it is a regular file; a larger one is refused before anything is
// allocated for it, and running out of memory is a refusal, never an exception.
// On failure *error gets the reason for the user and *refusal its kind.
std::optional<std::string> readFileBytes(const std::filesystem::path& path, std::uintmax_t maxBytes,
                                         std::string* error = nullptr, ReadRefusal* refusal = nullptr);
// At most the first `bytes` bytes of a regular file, however long it is.
std::optional<std::string> readFileStart(const std::filesystem::path& path, std::size_t bytes,
                                         std::string* error = nullptr);

// The SHA-256 of a regular file of at most maxBytes, in lower-case hex.
std::optional<std::string> sha256OfFile(const std::filesystem::path& path, std::uintmax_t maxBytes);

// Writes bytes as a file of that name that must not exist yet: every write is
// checked, the data is put on the disk, and the closed file's size is compared
// with what was written. On any failure the partial file is removed and the errno
// of the failure returned (EEXIST when the name is taken); 0 on success.
int writeNewFile(const std::filesystem::path& path, std::string_view bytes);

// Replaces the file with the bytes in one step: they are written whole beside it
// (writeNewFile), renamed over it, and the rename put on the disk, so the file
// is always either the old one or the new one. Returns 0 or the errno.
int replaceFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace platform
