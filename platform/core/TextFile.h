#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/core/Files.h"

namespace platform {

// Reads a Windows-1251 text file the way BASIC sequential input does, as whole lines
// or as comma-separated fields, handing out UTF-8. The whole file is read at open
// and parsed from memory: a picture is some 630 000 fields.
class TextReader {
public:
    // Reads the whole file, if it is a regular file of at most maxBytes
    // (readFileBytes). On failure *error gets a reason for the user
    // ("файл не найден", ...) and *refusal says which kind of failure it was.
    static std::optional<TextReader> open(const std::filesystem::path& path, std::string* error = nullptr,
                                          std::uintmax_t maxBytes = kNoLimit, ReadRefusal* refusal = nullptr);
    // Reads no more than the first bytes of the file, however long it is.
    static std::optional<TextReader> openStart(const std::filesystem::path& path, std::size_t bytes,
                                               std::string* error = nullptr);
    // Parses bytes already in memory.
    explicit TextReader(std::string bytes) : bytes_(std::move(bytes)) {}

    // The rest of the current line; its end (CR LF, lone LF or lone CR) is consumed,
    // not returned. False / nullopt at end of file.
    bool readLine(std::string& out);
    // The next line's bytes as the file has them, without converting them: for
    // lines that hold only ASCII, such as numbers. Valid while the reader lives.
    bool readLineBytes(std::string_view& out);
    std::optional<std::string> readLine();
    // The bytes not read yet, as the file has them.
    std::string_view rest() const { return std::string_view(bytes_).substr(pos_); }

    // One field, like BASIC's Input #. Blanks and line ends before it are skipped.
    // A quoted field runs to the next quote (commas kept) and whatever follows it up
    // to the delimiter is dropped; otherwise the field runs to the next comma or line
    // end, trailing blanks trimmed. The one delimiter after it is consumed, so an empty
    // field between two commas is "", and a comma ending the file starts no field.
    // False / nullopt when no field is left.
    bool readField(std::string& out);
    std::optional<std::string> readField();

    // No bytes left at all (blank lines still left count as not at end).
    bool atEnd() const { return pos_ == bytes_.size(); }

private:
    std::size_t afterLineEnd(std::size_t p) const;

    std::string bytes_;
    std::size_t pos_ = 0;
};

// Writes a text file line by line in Windows-1251 with CR LF line ends. Lines are
// gathered in memory and written in large pieces: a picture is some 630 000 lines.
class TextWriter {
public:
    // Creates or truncates the file. On failure *error gets a reason for the user.
    static std::optional<TextWriter> create(const std::filesystem::path& path, std::string* error = nullptr);
    // Creates a file that must not exist yet, and holds an exclusive lock on it
    // (flock) until it is closed, so others can tell it from a dead writer's leftover.
    // On failure errno tells why (EEXIST when the name is taken).
    static std::optional<TextWriter> createNew(const std::filesystem::path& path, std::string* error = nullptr);
    TextWriter(TextWriter&& other) noexcept;
    TextWriter& operator=(TextWriter&&) = delete;
    // Writes out what is left if commit() was not called; a failure then goes unreported.
    ~TextWriter();

    // False once anything failed to reach the file; the reason comes from commit().
    bool writeLine(std::string_view utf8);

    // Writes the rest, makes it reach the disk (fsync) and closes the file. True
    // only if every line reached it.
    bool commit(std::string* error = nullptr);

private:
    explicit TextWriter(int fd);
    bool flushBuffer();
    void fail(int errnum);

    int fd_ = -1;
    std::string buffer_;
    int failure_ = 0;  // the errno of the first failure
};

}  // namespace platform
