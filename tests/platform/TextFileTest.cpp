#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Cp1251.h"
#include "platform/core/TextFile.h"
#include "tests/support/FileSizeLimit.h"

namespace fs = std::filesystem;
using platform::TextReader;
using platform::TextWriter;
using Lines = std::vector<std::string>;

namespace {

Lines allLines(TextReader reader) {
    Lines lines;
    while (auto line = reader.readLine()) lines.push_back(*line);
    EXPECT_TRUE(reader.atEnd());
    return lines;
}

Lines allFields(TextReader reader) {
    Lines fields;
    std::string field;  // reused, as the picture reader does
    while (reader.readField(field)) fields.push_back(field);
    return fields;
}

std::string rawBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("pyatnushki_textfile_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

}  // namespace

TEST(Cp1251Test, ConvertsBothWays) {
    const struct { std::string utf8, cp1251; } rows[] = {
        {"Пятнушки", "\xCF\xFF\xF2\xED\xF3\xF8\xEA\xE8"},
        {"АЯая", "\xC0\xDF\xE0\xFF"},
        {"Ёё", "\xA8\xB8"},
        {"№ «» – —", "\xB9 \xAB\xBB \x96 \x97"},
        {"x=-1,y", "x=-1,y"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(platform::utf8ToCp1251(row.utf8), row.cp1251) << row.utf8;
        EXPECT_EQ(platform::cp1251ToUtf8(row.cp1251), row.utf8) << row.utf8;
    }
}

TEST(Cp1251Test, EveryByteSurvivesARoundTripExceptTheUndefinedOne) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = platform::cp1251ToUtf8(byte);
        EXPECT_EQ(platform::utf8ToCp1251(utf8), b == 0x98 ? "?" : byte) << b;
    }
    EXPECT_EQ(platform::cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");
}

TEST(Cp1251Test, UnmappableAndInvalidInputBecomesQuestionMarks) {
    const struct { std::string utf8, cp1251; } rows[] = {
        {"a日b", "a?b"},                // no Windows-1251 code
        {"\xF0\x9F\x98\x80!", "?!"},    // outside the basic plane
        {"\xD0", "?"},                  // cut off
        {"\x80\xBF" "a", "??a"},        // stray continuation bytes
        {"\xC0\xAF", "??"},             // overlong '/'
        {"\xED\xA0\x80", "???"},        // surrogate
        {"\xEF\xBF\xBD", "?"},          // U+FFFD itself
    };
    for (const auto& row : rows) {
        EXPECT_EQ(platform::utf8ToCp1251(row.utf8), row.cp1251) << row.cp1251;
    }
}

TEST(TextReaderTest, ReadLineSplitsAtEveryKindOfLineEnd) {
    const struct { std::string bytes; Lines lines; } rows[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\r b", {"a", "", " b"}},
        {"\r\n", {""}},
        {"", {}},
        {"\xCF\xF0\xE8\xE2\xE5\xF2, \xA8\xEB\xEA\xE0 \xB9" "1\r\n", {"Привет, Ёлка №1"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(allLines(TextReader(row.bytes)), row.lines) << row.bytes;
    }
}

TEST(TextReaderTest, ReadFieldSplitsLikeBasicInput) {
    const struct { std::string bytes; Lines fields; } rows[] = {
        {"a,b\r\nc", {"a", "b", "c"}},
        {"0,1,0\r\n1,1,0", {"0", "1", "0", "1", "1", "0"}},
        {"a\rb\nc\r\n\r\nd\n", {"a", "b", "c", "d"}},
        {"a,,b", {"a", "", "b"}},
        {",a", {"", "a"}},
        {"a,", {"a"}},
        {"  x  ,\ty\t\r\n", {"x", "y"}},
        {"-1,-20", {"-1", "-20"}},
        {"\"a, b\",c", {"a, b", "c"}},
        {"\"q\" junk ,d\r\ne", {"q", "d", "e"}},
        {"\"\",x", {"", "x"}},
        {"\"open", {"open"}},
        {"\"\xA8\xEB\xEA\xE0\",\xAB\xEA\xF2\xEE\xBB", {"Ёлка", "«кто»"}},
        {"a long field,x", {"a long field", "x"}},
        {"", {}},
        {" \r\n\t\n", {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(allFields(TextReader(row.bytes)), row.fields) << row.bytes;
    }
}

TEST(TextReaderTest, LineAfterFieldsStartsOnTheNextLine) {
    TextReader reader("12,34\r\nname, with comma\r\n");
    EXPECT_EQ(reader.readField(), "12");
    EXPECT_EQ(reader.readField(), "34");
    EXPECT_EQ(reader.readLine(), "name, with comma");
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.readLine(), std::nullopt);
    EXPECT_EQ(reader.readField(), std::nullopt);
}

TEST_F(TextFileTest, WriterProducesCp1251WithCrLfAndReadsBack) {
    const fs::path path = dir_ / "картинка.txt";
    const Lines lines = {"Ёлка №1", "", "«Пятнушки» — 2", "-1,0"};
    {
        auto writer = TextWriter::create(path);
        ASSERT_TRUE(writer);
        for (const auto& line : lines) EXPECT_TRUE(writer->writeLine(line));
        std::string error;
        EXPECT_TRUE(writer->commit(&error)) << error;
        EXPECT_FALSE(writer->writeLine("after close"));
    }
    EXPECT_EQ(rawBytes(path),
              "\xA8\xEB\xEA\xE0 \xB9" "1\r\n\r\n\xAB\xCF\xFF\xF2\xED\xF3\xF8\xEA\xE8\xBB \x97 2\r\n-1,0\r\n");
    auto reader = TextReader::open(path);
    ASSERT_TRUE(reader);
    EXPECT_EQ(allLines(*reader), lines);
}

TEST_F(TextFileTest, ManyLinesAllReachTheFile) {
    const fs::path path = dir_ / "big.txt";
    constexpr int kLines = 200000;
    {
        auto writer = TextWriter::create(path);
        ASSERT_TRUE(writer);
        for (int i = 0; i < kLines; ++i) writer->writeLine(std::to_string(i % 1000));
        // Dropped without commit: what was written still lands in the file.
    }
    auto reader = TextReader::open(path);
    ASSERT_TRUE(reader);
    const Lines fields = allFields(std::move(*reader));
    ASSERT_EQ(fields.size(), std::size_t{kLines});
    EXPECT_EQ(fields.back(), std::to_string((kLines - 1) % 1000));
}

TEST_F(TextFileTest, FailuresAreReportedWithAReason) {
    std::string error;
    EXPECT_FALSE(TextReader::open(dir_ / "нет.txt", &error));
    EXPECT_EQ(error, "файл не найден");
    EXPECT_FALSE(TextReader::open(dir_, &error));
    EXPECT_EQ(error, "это папка, а не файл");
    EXPECT_FALSE(TextWriter::create(dir_ / "нет" / "a.txt", &error));
    EXPECT_EQ(error, "папка не найдена");
    EXPECT_FALSE(TextWriter::create(dir_, &error));
    EXPECT_EQ(error, "это папка, а не файл");

    if (!fs::exists("/dev/full")) return;  // a device that is always full
    auto writer = TextWriter::create("/dev/full");
    ASSERT_TRUE(writer);
    writer->writeLine("lost");
    EXPECT_FALSE(writer->commit(&error));
    EXPECT_EQ(error, "на диске не хватает места");
}


TEST(FileReasonsTest, EveryErrorIsToldInRussianNamingItsCause) {
    const std::pair<int, const char*> named[] = {
        {ENOSPC, "на диске не хватает места"},     {EFBIG, "на диске не хватает места"},
        {EACCES, "нет доступа к папке"},           {EROFS, "диск защищён от записи"},
        {ENOENT, "папка не найдена"},              {ENOTDIR, "на месте папки лежит файл"},
        {EISDIR, "это папка, а не файл"},          {ELOOP, "символические ссылки замкнуты в круг"},
        {ENAMETOOLONG, "слишком длинное имя файла"}, {EIO, "ошибка диска"},
        {EMFILE, "открыто слишком много файлов"},  {EXDEV, "файл лежит на другом диске"},
    };
    for (const auto& [errnum, reason] : named) EXPECT_EQ(platform::reasonFor(errnum), reason) << errnum;
    EXPECT_EQ(platform::reasonForReading(ENOENT), "файл не найден");
    // No system text in English reaches the child, whatever the error.
    for (int errnum = 1; errnum < 140; ++errnum) {
        const std::string reason = platform::reasonFor(errnum);
        EXPECT_TRUE(std::none_of(reason.begin(), reason.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); }))
            << errnum << ": " << reason;
    }
}

TEST_F(TextFileTest, OnlyARegularFileOfItsKindsSizeIsRead) {
    ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);  // opening it to wait for a writer would hang
    fs::create_symlink(dir_ / "loop", dir_ / "loop");
    {
        std::ofstream(dir_ / "sparse") << "x";
        fs::resize_file(dir_ / "sparse", std::uintmax_t{6} << 30);
    }
    std::ofstream(dir_ / "small") << "small";
    const struct {
        fs::path path;
        platform::ReadRefusal refusal;
        const char* reason;
    } rows[] = {
        {dir_ / "pipe", platform::ReadRefusal::notAFile, "это не обычный файл"},
        {"/dev/zero", platform::ReadRefusal::notAFile, "это не обычный файл"},
        {dir_, platform::ReadRefusal::cannotOpen, "это папка, а не файл"},
        {dir_ / "loop", platform::ReadRefusal::cannotOpen, "символические ссылки замкнуты в круг"},
        {dir_ / "sparse", platform::ReadRefusal::tooLarge, "файл слишком велик"},
        {dir_ / "small", platform::ReadRefusal::none, ""},
    };
    for (const auto& row : rows) {
        std::string why;
        platform::ReadRefusal refusal{};
        const auto bytes = platform::readFileBytes(row.path, 1 << 20, &why, &refusal);
        EXPECT_EQ(refusal, row.refusal) << row.path;
        EXPECT_EQ(why, row.reason) << row.path;
        EXPECT_EQ(bytes.has_value(), row.refusal == platform::ReadRefusal::none) << row.path;
        if (row.refusal != platform::ReadRefusal::tooLarge) {
            EXPECT_EQ(platform::readFileStart(row.path, 3).has_value(), bytes.has_value()) << row.path;
        }
    }
}

TEST_F(TextFileTest, ANewFileIsWrittenWholeOrNotAtAll) {
    const std::string bytes(100000, 'p');
    EXPECT_EQ(platform::writeNewFile(dir_ / "whole", bytes), 0);
    EXPECT_EQ(rawBytes(dir_ / "whole"), bytes);
    EXPECT_EQ(platform::writeNewFile(dir_ / "whole", "other"), EEXIST);
    EXPECT_EQ(rawBytes(dir_ / "whole"), bytes) << "a file already there is kept";
    {
        const testing_support::FileSizeLimit full(4096);  // the disk fills up half-way
        EXPECT_EQ(platform::writeNewFile(dir_ / "partial", bytes), EFBIG);
    }
    EXPECT_FALSE(fs::exists(dir_ / "partial")) << "no partial file is left";
}
