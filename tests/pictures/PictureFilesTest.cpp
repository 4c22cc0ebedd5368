#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "pictures/core/PictureFiles.h"
#include "platform/core/Cp1251.h"
#include "tests/support/AddressSpaceLimit.h"
#include "tests/support/FileSizeLimit.h"

namespace fs = std::filesystem;
using namespace pictures;
using platform::ColourNumber;
using platform::kBlack;
using platform::kWhite;
using testing_support::FileSizeLimit;

namespace {

constexpr ColourNumber kRed = platform::rgb(255, 0, 0);

std::string rawBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

template <typename T>
T valueOf(std::variant<T, FileError> result) {
    if (auto* error = std::get_if<FileError>(&result)) ADD_FAILURE() << error->message;
    return std::holds_alternative<T>(result) ? std::get<T>(std::move(result)) : T{};
}

// Pictures live in a "data" folder, as in the program, so messages name "data/...".
class PictureFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("pyatnushki_pictures_" + std::to_string(std::random_device{}()));
        data_ = root_ / "data";
        fs::create_directories(data_);
    }
    void TearDown() override {
        fs::permissions(data_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(root_);
    }
    // Writes text given in UTF-8 as the Windows-1251 the files hold.
    fs::path file(const std::string& name, const std::string& text) {
        writeBytes(data_ / name, platform::utf8ToCp1251(text));
        return data_ / name;
    }
    // Temporary files of saves of this slot still lying in the folder.
    int leftovers(const std::string& slot) const {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(data_)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(slot + ".", 0) == 0 && name.size() > 4 && name.ends_with(".new")) ++count;
        }
        return count;
    }
    fs::path root_, data_;
};


}  // namespace

TEST(PictureNamesTest, NumbersCarryTheirBlankOrSign) {
    EXPECT_EQ(NumberText(7), " 7");
    EXPECT_EQ(NumberText(0), " 0");
    EXPECT_EQ(NumberText(-1), "-1");
    EXPECT_EQ(NumberText(16777215), " 16777215");
    EXPECT_EQ(libraryPicturePath(7).generic_string(), "data/ 7.mac");
    EXPECT_EQ(galleryPath(0).generic_string(), "data/gl 0.mac");
    EXPECT_EQ(galleryPath(-1).generic_string(), "data/gl-1.mac");
}

TEST_F(PictureFilesTest, LibraryBodiesInAnyLayoutGiveTheSameCells) {
    const std::string header = "Кот, и пёс\r\n 2 \r\n3\r\n";
    const std::vector<std::int8_t> expected = {0, 1, -1, -1, 1, 0};
    for (const std::string body : {
             "0,1,2\r\n,1,0\r\n",               // a row per line; an empty field leads row 2
             "0\r\n1\r\n2\r\n\"\",1\r\n0\r\n",  // a cell per line
             "0\r\n1\r\n2\r\n\r\n1\n0\r\n",      // a cell per line, an empty line for an empty cell
             "0,1\r\n2,,1\r\n0",                // a mix, no line end at the close
             "0,1,\r\n,1,0,\r\n",               // rows ending in a comma: an empty last cell each
         }) {
        const LibraryPicture picture = valueOf(readLibraryPicture(file(" 7.mac", header + body)));
        EXPECT_EQ(picture.title, "Кот, и пёс") << body;
        EXPECT_EQ(picture.height, 2);
        EXPECT_EQ(picture.width, 3);
        EXPECT_EQ(picture.cells, expected) << body;
    }
    const auto shortFile = readLibraryPicture(file(" 7.mac", header + "0,1,2\r\n,1\r\n"));
    ASSERT_TRUE(std::holds_alternative<FileError>(shortFile));
    EXPECT_NE(std::get<FileError>(shortFile).message.find("точек в нём 5, а должно быть 6"), std::string::npos);
}

TEST_F(PictureFilesTest, LibraryCellsLandOneRowDownAndHolesKeepTheCanvas) {
    // Row 3 of the picture falls below a 3-high canvas; row 0 is never drawn.
    const LibraryPicture picture =
        valueOf(readLibraryPicture(file(" 1.mac", "t\r\n3\r\n3\r\n0,1,2\r\n1,,0\r\n0,0,0\r\n")));
    platform::PixelBuffer canvas(3, 3, kRed);
    drawLibraryPicture(picture, canvas);
    const std::vector<std::vector<ColourNumber>> rows = {
        {kRed, kRed, kRed}, {kBlack, kWhite, kRed}, {kWhite, kRed, kBlack}};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) EXPECT_EQ(canvas.pixel(x, y), rows[y][x]) << x << "," << y;
    }
}

TEST_F(PictureFilesTest, GalleryCellsAreFlooredAndOneMeansWhite) {
    const struct {
        const char* line;
        ColourNumber cell;
    } rows[] = {
        {"1", kWhite},     {"0", kBlack}, {"16777215", kWhite}, {"  255.7 ", 255},
        {" 1.9 ", kWhite}, {"-0.5", -1},  {"-1", -1},           {"1e3", 1000},
    };
    for (const auto& row : rows) {
        const auto picture = valueOf(readGalleryPicture(file("gl 0.mac", std::string("t\r\n1\r\n1\r\n") + row.line)));
        ASSERT_EQ(picture.cells.size(), 1u);
        EXPECT_EQ(picture.cells[0], row.cell) << row.line;
    }
    // -1 stands for "outside the canvas": drawing it changes nothing.
    const auto picture = valueOf(readGalleryPicture(file("gl 0.mac", "t\r\n2\r\n2\r\n-1\r\n 255 \r\n-1\r\n-1\r\n")));
    platform::PixelBuffer canvas(2, 2, kRed);
    drawGalleryPicture(picture, canvas);
    EXPECT_EQ(canvas.pixel(0, 1), kRed);
    EXPECT_EQ(canvas.pixel(1, 1), 255);
}

TEST_F(PictureFilesTest, SavedSlotHasExactBytesAndAnOutsideLastRow) {
    platform::PixelBuffer canvas(690, 900, kWhite);
    canvas.setPixel(1, 1, kBlack);
    const fs::path slot = data_ / "gl 3.mac";
    ASSERT_FALSE(saveGalleryPicture(slot, "Ёж", canvas));
    const std::string bytes = rawBytes(slot);
    const std::string start = "\xA8\xE6\r\n 900 \r\n 690 \r\n 16777215 \r\n 0 \r\n 16777215 \r\n";
    EXPECT_EQ(bytes.substr(0, start.size()), start);

    std::vector<std::string> lines;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "every line ends CR LF";
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    ASSERT_EQ(lines.size(), 3u + 900 * 690);
    EXPECT_EQ(lines[3 + 899 * 690 - 1], " 16777215 ");
    for (std::size_t i = lines.size() - 690; i < lines.size(); ++i) ASSERT_EQ(lines[i], "-1 ") << i;
}

TEST_F(PictureFilesTest, SaveThenReadRestoresAllButRowZero) {
    platform::PixelBuffer canvas(7, 5);
    std::mt19937 random(42);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) canvas.setPixel(x, y, static_cast<ColourNumber>(random() & 0xFFFFFF));
    }
    canvas.setPixel(0, 1, 1);  // very dark red, saved as 1, is read back as white: the format's own quirk
    const fs::path slot = data_ / "gl-1.mac";
    ASSERT_FALSE(saveGalleryPicture(slot, "Мой кот, рыжий", canvas));

    const GalleryPicture picture = valueOf(readGalleryPicture(slot));
    EXPECT_EQ(picture.title, "Мой кот, рыжий");
    EXPECT_EQ(valueOf(readGalleryTitle(slot)), "Мой кот");
    platform::PixelBuffer restored(7, 5, kRed);
    drawGalleryPicture(picture, restored);
    for (int x = 0; x < 7; ++x) EXPECT_EQ(restored.pixel(x, 0), kRed);
    EXPECT_EQ(restored.pixel(0, 1), kWhite);
    for (int y = 1; y < 5; ++y) {
        for (int x = (y == 1 ? 1 : 0); x < 7; ++x) EXPECT_EQ(restored.pixel(x, y), canvas.pixel(x, y)) << x << "," << y;
    }
}

TEST_F(PictureFilesTest, TitleReadsTheFirstFieldOfTheFirstLineOnly) {
    EXPECT_EQ(valueOf(readGalleryTitle(file("gl 1.mac", "\"Дом, сад\" ещё,x\r\n1\r\n"))), "Дом, сад");
    EXPECT_EQ(valueOf(readGalleryTitle(file("gl 1.mac", "\r\n 5 \r\n"))), "");
}

TEST_F(PictureFilesTest, TitlesAreCutToWhatCanBeShownAndBytesThatAreNoTextMakeNone) {
    const std::string longTitle(300, 'A');
    EXPECT_EQ(valueOf(readGalleryTitle(file("gl 1.mac", longTitle + "\r\n 1 \r\n"))), std::string(kMaxTitleChars, 'A'));
    EXPECT_EQ(valueOf(readGalleryPicture(file("gl 1.mac", longTitle + "\r\n 0 \r\n 0 \r\n"))).title,
              std::string(kMaxTitleChars, 'A'));
    const auto repeated = [](const std::string& text, int times) {
        std::string out;
        for (int i = 0; i < times; ++i) out += text;
        return out;
    };
    EXPECT_EQ(valueOf(readGalleryTitle(file("gl 1.mac", repeated("Ж", 150) + "\r\n"))), repeated("Ж", kMaxTitleChars))
        << "characters, not bytes";
    writeBytes(data_ / "gl 2.mac", std::string(64 * 1024, '\0'));
    const auto zeros = readGalleryTitle(data_ / "gl 2.mac");
    ASSERT_TRUE(std::holds_alternative<FileError>(zeros));
    EXPECT_NE(std::get<FileError>(zeros).message.find("повреждён"), std::string::npos);
}

TEST_F(PictureFilesTest, APipeOrADeviceWhereAPictureShouldBeIsRefusedAtOnce) {
    // Opening a named pipe that nobody writes would wait for good.
    ASSERT_EQ(::mkfifo((data_ / " 7.mac").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((data_ / "gl 7.mac").c_str(), 0600), 0);
    const std::vector<std::string> messages = {
        std::get<FileError>(readLibraryPicture(data_ / " 7.mac")).message,
        std::get<FileError>(readGalleryPicture(data_ / "gl 7.mac")).message,
        std::get<FileError>(readGalleryTitle(data_ / "gl 7.mac")).message,
        std::get<FileError>(readLibraryPicture("/dev/zero")).message,
    };
    for (const std::string& message : messages) {
        EXPECT_NE(message.find("повреждён: это не обычный файл"), std::string::npos) << message;
    }
}

TEST_F(PictureFilesTest, ZeroRowsOrColumnsReadNoCells) {
    for (const char* header : {"t\r\n0\r\n690\r\n", "t\r\n900\r\n0\r\n"}) {
        EXPECT_TRUE(valueOf(readGalleryPicture(file("gl 1.mac", header))).cells.empty()) << header;
        EXPECT_TRUE(valueOf(readLibraryPicture(file(" 1.mac", header))).cells.empty()) << header;
    }
    ASSERT_FALSE(saveGalleryPicture(data_ / "gl 2.mac", "пусто", platform::PixelBuffer(0, 4)));
    const GalleryPicture empty = valueOf(readGalleryPicture(data_ / "gl 2.mac"));
    EXPECT_EQ(empty.height, 4);
    EXPECT_EQ(empty.width, 0);
}

TEST_F(PictureFilesTest, DamagedFilesAreRefusedWithTheFileAndTheProblemNamed) {
    const struct {
        bool gallery;
        std::string text;
        const char* problem;
    } rows[] = {
        {false, "t\r\n2\r\n2\r\n0,1,1\r\n", "обрывается"},
        {true, "t\r\n2\r\n2\r\n0\r\n1\r\n1\r\n", "обрывается"},
        {false, "", "пуст"},
        {true, "t\r\n2\r\n", "нет строки 3"},
        {false, "t\r\nabc\r\n2\r\n", "«abc»"},
        {true, "t\r\n  \r\n2\r\n", "пусто"},
        {false, "t\r\n100000\r\n2\r\n", "не больше 2000"},
        {true, "t\r\n2\r\n-3\r\n", "отрицательное"},
        {true, "t\r\n1\r\nnan\r\n", "«nan»"},
        {true, "t\r\n1\r\n2\r\n0\r\nabc\r\n", "строке 5"},
        {true, "t\r\n1\r\n1\r\n99999999999\r\n", "пределов"},
        {true, "t\r\n1\r\n1\r\n-1e400\r\n", "пределов"},
        // Just past a colour number either way: masking it would change the picture.
        {true, "t\r\n1\r\n1\r\n16777216\r\n", "пределов"},
        {true, "t\r\n1\r\n1\r\n16777217\r\n", "пределов"},
        {true, "t\r\n1\r\n1\r\n-2\r\n", "пределов"},
    };
    for (const auto& row : rows) {
        const fs::path path = file("gl 4.mac", row.text);
        const std::string message = row.gallery ? std::get<FileError>(readGalleryPicture(path)).message
                                                : std::get<FileError>(readLibraryPicture(path)).message;
        EXPECT_NE(message.find("«data/gl 4.mac»"), std::string::npos) << message;
        EXPECT_NE(message.find(row.problem), std::string::npos) << message;
    }
    const auto missing = std::get<FileError>(readLibraryPicture(data_ / " 7.mac")).message;
    EXPECT_EQ(missing, "Не удалось открыть рисунок «data/ 7.mac»: файл не найден.");
    EXPECT_TRUE(std::holds_alternative<FileError>(readGalleryTitle(data_ / "gl 9.mac")));
}

TEST_F(PictureFilesTest, FailedSaveLeavesTheOldSlotByteForByte) {
    const platform::PixelBuffer canvas(40, 30, kRed);
    const fs::path slot = file("gl 5.mac", "old\r\n 1 \r\n 1 \r\n 0 \r\n");
    const std::string before = rawBytes(slot);
    const auto expectRefused = [&](const fs::path& target, const char* what, const char* reason) {
        const auto error = saveGalleryPicture(target, "new", canvas);
        ASSERT_TRUE(error) << what;
        EXPECT_NE(error->message.find(target.filename().string()), std::string::npos) << error->message;
        EXPECT_NE(error->message.find(reason), std::string::npos) << what << ": " << error->message;
        EXPECT_EQ(rawBytes(slot), before) << what;
        EXPECT_EQ(leftovers("gl 5.mac"), 0) << what;
    };
    expectRefused(root_ / "missing" / "gl 5.mac", "no folder", "папка не найдена");
    writeBytes(root_ / "plain", "x");
    expectRefused(root_ / "plain" / "gl 5.mac", "folder is a file", "на месте папки лежит файл");

    {
        // A disk that fills up half-way through the picture.
        const FileSizeLimit full(1000);
        expectRefused(slot, "disk full", "на диске не хватает места");
    }

    if (geteuid() != 0) {  // root writes through the permissions
        fs::permissions(data_, fs::perms::owner_read | fs::perms::owner_exec);
        expectRefused(slot, "read-only folder", "нет доступа к папке");
        fs::permissions(data_, fs::perms::owner_all, fs::perm_options::add);
    }
    fs::create_directories(data_ / "gl 6.mac" / "inside");
    const auto error = saveGalleryPicture(data_ / "gl 6.mac", "new", canvas);
    ASSERT_TRUE(error);
    EXPECT_NE(error->message.find("это папка, а не файл"), std::string::npos) << error->message;
    EXPECT_TRUE(fs::exists(data_ / "gl 6.mac" / "inside"));
    EXPECT_EQ(leftovers("gl 6.mac"), 0);
}

TEST_F(PictureFilesTest, SaveRemovesWhatKilledSavesLeftButNotWhatARunningSaveWrites) {
    const fs::path slot = file("gl 5.mac", "old\r\n 1 \r\n 1 \r\n 0 \r\n");
    const auto stale = [&](const std::string& name) {
        const fs::path path = file(name, "half a picture\r\n 900 \r\n 6");
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(5));
        return path;
    };
    const fs::path older = stale("gl 5.mac.new");  // the name earlier versions used
    const fs::path killed = stale("gl 5.mac.4242-0.new");
    const fs::path otherSlot = stale("gl 50.mac.4242-1.new");
    const fs::path running = stale("gl 5.mac.4243-0.new");
    const int fd = ::open(running.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);  // as a save in another copy of the program holds it
    const fs::path fresh = file("gl 5.mac.4244-0.new", "just created");

    ASSERT_FALSE(saveGalleryPicture(slot, "new", platform::PixelBuffer(2, 2, kBlack)));
    EXPECT_EQ(rawBytes(slot), "new\r\n 2 \r\n 2 \r\n 0 \r\n 0 \r\n-1 \r\n-1 \r\n");
    EXPECT_FALSE(fs::exists(older));
    EXPECT_FALSE(fs::exists(killed));
    EXPECT_TRUE(fs::exists(otherSlot)) << "another slot's file is that slot's business";
    EXPECT_TRUE(fs::exists(running));
    EXPECT_TRUE(fs::exists(fresh)) << "it may belong to a save that has not locked it yet";
    ::close(fd);
}

// Two copies of the program saving one slot at once: every round the slot holds
// one of the two pictures, whole, and each save that says it succeeded did.
TEST_F(PictureFilesTest, TwoProcessesSavingOneSlotNeverTearIt) {
    const fs::path slot = data_ / "gl 7.mac";
    const platform::PixelBuffer red(120, 90, kRed), white(120, 90, kWhite);
    ASSERT_FALSE(saveGalleryPicture(slot, "start", white));
    const std::string redBytes = [&] {
        EXPECT_FALSE(saveGalleryPicture(data_ / "red.mac", "Красный", red));
        return rawBytes(data_ / "red.mac");
    }();
    const std::string whiteBytes = [&] {
        EXPECT_FALSE(saveGalleryPicture(data_ / "white.mac", "Белый", white));
        return rawBytes(data_ / "white.mac");
    }();
    int torn = 0, failed = 0;
    for (int round = 0; round < 200; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        const bool inChild = child == 0;
        char go = 0;
        if (inChild) {
            ::close(ready[1]);
            (void)!::read(ready[0], &go, 1);
        } else {
            ::close(ready[0]);
            (void)!::write(ready[1], "g", 1);
            ::close(ready[1]);
        }
        const auto error = inChild ? saveGalleryPicture(slot, "Красный", red) : saveGalleryPicture(slot, "Белый", white);
        if (inChild) ::_exit(error ? 1 : 0);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (error || !WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failed;
        const std::string now = rawBytes(slot);
        if (now != redBytes && now != whiteBytes) ++torn;
        if (inChild) ::close(ready[0]);
    }
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(leftovers("gl 7.mac"), 0);
}

TEST_F(PictureFilesTest, ProgressTellsEachRowInOrder) {
    std::vector<std::pair<int, int>> calls;
    const Progress record = [&](int row, int rows) { calls.emplace_back(row, rows); };
    const std::vector<std::pair<int, int>> expected = {{1, 3}, {2, 3}, {3, 3}};

    ASSERT_FALSE(saveGalleryPicture(data_ / "gl 1.mac", "t", platform::PixelBuffer(2, 3), record));
    EXPECT_EQ(calls, expected);
    calls.clear();
    valueOf(readGalleryPicture(data_ / "gl 1.mac", record));
    EXPECT_EQ(calls, expected);
    calls.clear();
    valueOf(readLibraryPicture(file(" 1.mac", "t\r\n3\r\n2\r\n0,0,1,1,0,0\r\n"), record));
    EXPECT_EQ(calls, expected);
}

namespace {

// Resident memory at its peak so far, in bytes.
long peakResidentBytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024L;
}

// A file of the given size whose start is a valid picture header: the rest is
// a hole that takes no disk.
fs::path hugeFile(const fs::path& path, const std::string& start, off_t size) {
    writeBytes(path, platform::utf8ToCp1251(start));
    EXPECT_EQ(::truncate(path.c_str(), size), 0);
    return path;
}

}  // namespace

// Huge files are refused before anything large is allocated, whatever reads them;
// the title of a huge slot still comes from its first line.
TEST_F(PictureFilesTest, HugeFilesAreRefusedAsDamagedWithoutTakingTheMemory) {
    constexpr off_t kGiB = off_t{1} << 30;
    const fs::path library = hugeFile(data_ / " 9.mac", "Лев\r\n 900 \r\n 690 \r\n", kGiB);
    const fs::path slot = hugeFile(data_ / "gl 9.mac", "Лев, большой\r\n 900 \r\n 690 \r\n", 6 * kGiB);

    std::optional<testing_support::AddressSpaceLimit> capped(100L << 20);
    const long before = peakResidentBytes();
    const auto libraryRead = readLibraryPicture(library);
    const auto slotRead = readGalleryPicture(slot);
    const auto title = readGalleryTitle(slot);
    capped.reset();

    ASSERT_TRUE(std::holds_alternative<FileError>(libraryRead));
    EXPECT_EQ(std::get<FileError>(libraryRead).message,
              "Рисунок «data/ 9.mac» повреждён: файл слишком велик для рисунка.");
    ASSERT_TRUE(std::holds_alternative<FileError>(slotRead));
    EXPECT_NE(std::get<FileError>(slotRead).message.find("слишком велик"), std::string::npos);
    ASSERT_TRUE(std::holds_alternative<std::string>(title));
    EXPECT_EQ(std::get<std::string>(title), "Лев");
    EXPECT_LT(peakResidentBytes() - before, 100L << 20);
}

// The largest picture the program itself can write still reads back: the bound
// on the file size is not tighter than the format.
TEST_F(PictureFilesTest, TheLargestValidPicturesAreNotTooLarge) {
    const platform::PixelBuffer widest(kMaxPictureSide, kMaxPictureSide, platform::rgb(255, 255, 254));
    ASSERT_FALSE(saveGalleryPicture(data_ / "gl 1.mac", "Большой", widest));
    const auto back = readGalleryPicture(data_ / "gl 1.mac");
    ASSERT_TRUE(std::holds_alternative<GalleryPicture>(back)) << std::get<FileError>(back).message;

    std::string library = "Большой\r\n 2000 \r\n 2000 \r\n";
    std::string row;
    for (int c = 0; c < kMaxPictureSide; ++c) row += c ? ",1" : "1";
    for (int r = 0; r < kMaxPictureSide; ++r) library += row + "\r\n";
    writeBytes(data_ / " 2.mac", platform::utf8ToCp1251(library));
    const auto read = readLibraryPicture(data_ / " 2.mac");
    EXPECT_TRUE(std::holds_alternative<LibraryPicture>(read)) << std::get<FileError>(read).message;
}
