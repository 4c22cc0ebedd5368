// The check of the magic square, case by case: the messages in their order and the verdict.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "games/core/GameTexts.h"
#include "games/core/MagicSquare.h"

using namespace games;
using Cells = std::array<std::string, 9>;

namespace {

constexpr std::string_view kRange = texts::kOnlyOneToNine;
constexpr std::string_view kSame = texts::kSameDigits;
constexpr std::string_view kSolved = texts::kSquareSolved;
constexpr std::string_view kWrong = texts::kSquareWrong;

struct Case {
    const char* what;
    Cells cells;
    std::vector<std::string_view> messages;
    SquareVerdict verdict;
};

void expectCase(const Case& c) {
    const SquareCheck check = checkSquare(c.cells);
    EXPECT_EQ(check.messages, c.messages) << c.what;
    EXPECT_EQ(check.verdict, c.verdict) << c.what;
}

}  // namespace

TEST(MagicSquareTest, SolvedOnlyWhenEveryLineIsFifteenAndNothingWasWarnedAbout) {
    const Case cases[] = {
        {"the square", {"2", "7", "6", "9", "5", "1", "4", "3", "8"}, {kSolved}, SquareVerdict::Solved},
        {"turned over", {"8", "3", "4", "1", "5", "9", "6", "7", "2"}, {kSolved}, SquareVerdict::Solved},
        {"blanks around", {" 2", "7 ", "6", "9", "5", "1", "4", "3", "8"}, {kSolved}, SquareVerdict::Solved},
        {"a fraction counts rounded down",
         {"2,5", "7", "6", "9", "5.9", "1", "4", "3", "8"},
         {kSolved},
         SquareVerdict::Solved},
        {"05 is 5", {"2", "7", "6", "9", "05", "1", "4", "3", "8"}, {kSolved}, SquareVerdict::Solved},
        {"one line off", {"2", "7", "6", "9", "5", "1", "4", "8", "3"}, {kWrong}, SquareVerdict::Wrong},
        {"nine 5s: eight warnings, never solved",
         {"5", "5", "5", "5", "5", "5", "5", "5", "5"},
         {kSame, kSame, kSame, kSame, kSame, kSame, kSame, kSame, kWrong},
         SquareVerdict::Wrong},
        {"lines of 15 with -1, 10, 0 and 11 outside Text1",
         {"6", "-1", "10", "9", "5", "1", "0", "11", "4"},
         {kWrong},
         SquareVerdict::Wrong},
        {"lines of 15 with -3, 12, -2 and 13 outside Text1",
         {"6", "-3", "12", "11", "5", "-1", "-2", "13", "4"},
         {kWrong},
         SquareVerdict::Wrong},
        {"9,5 outside Text1 is outside 1 to 9 too",
         {"2", "7", "6", "9,5", "5", "1", "4", "3", "8"},
         {kWrong},
         SquareVerdict::Wrong},
    };
    for (const Case& c : cases) expectCase(c);
}

TEST(MagicSquareTest, OnlyTheTopLeftCellIsRangeTestedUnroundedAndTheCheckGoesOn) {
    const Case cases[] = {
        {"Text1 10", {"10", "7", "6", "9", "5", "1", "4", "3", "8"}, {kRange, kWrong}, SquareVerdict::Wrong},
        {"Text1 9,5", {"9,5", "7", "6", "1", "5", "2", "4", "3", "8"}, {kRange, kWrong}, SquareVerdict::Wrong},
        {"Text1 9.5", {"9.5", "7", "6", "1", "5", "2", "4", "3", "8"}, {kRange, kWrong}, SquareVerdict::Wrong},
        {"Text1 0,5", {"0,5", "7", "6", "1", "5", "2", "4", "3", "8"}, {kRange, kWrong}, SquareVerdict::Wrong},
        {"Text1 0", {"0", "7", "6", "1", "5", "2", "4", "3", "8"}, {kRange, kWrong}, SquareVerdict::Wrong},
        {"Text1 -3", {"-3", "7", "6", "1", "5", "2", "4", "3", "8"}, {kRange, kWrong}, SquareVerdict::Wrong},
        {"Text1 99999999999",
         {"99999999999", "7", "6", "1", "5", "2", "4", "3", "8"},
         {kRange, kWrong},
         SquareVerdict::Wrong},
        {"Text1 exactly 9 and 1", {"9", "1", "2", "3", "4", "5", "6", "7", "8"}, {kWrong}, SquareVerdict::Wrong},
        {"Text5 12: no range message", {"2", "7", "6", "9", "12", "1", "4", "3", "8"}, {kWrong}, SquareVerdict::Wrong},
        {"range first, then duplicates",
         {"10", "10", "6", "9", "5", "1", "4", "3", "8"},
         {kRange, kSame, kWrong},
         SquareVerdict::Wrong},
    };
    for (const Case& c : cases) expectCase(c);
}

TEST(MagicSquareTest, DuplicatesAreTextsComparedInEightGroupsEachWarningAtMostOnce) {
    const Case cases[] = {
        {"05 and 5 are different texts",
         {"05", "1", "2", "3", "5", "4", "6", "7", "8"},
         {kWrong},
         SquareVerdict::Wrong},
        {"' 5' and '5' are different texts",
         {" 5", "1", "2", "3", "5", "4", "6", "7", "8"},
         {kWrong},
         SquareVerdict::Wrong},
        {"three equal cells: groups 1 and 2",
         {"1", "1", "1", "2", "3", "4", "5", "6", "7"},
         {kSame, kSame, kWrong},
         SquareVerdict::Wrong},
        {"Text1 equal to two others: one warning",
         {"1", "2", "1", "3", "4", "1", "5", "6", "7"},
         {kSame, kSame, kWrong},
         SquareVerdict::Wrong},
        {"only Text8 and Text9", {"1", "2", "3", "4", "5", "6", "7", "8", "8"}, {kSame, kWrong}, SquareVerdict::Wrong},
        {"Text1 and Text9", {"8", "1", "2", "3", "4", "5", "6", "7", "8"}, {kSame, kWrong}, SquareVerdict::Wrong},
    };
    for (const Case& c : cases) expectCase(c);
}

TEST(MagicSquareTest, ACellWithoutANumberIsToldOnceBeforeAnythingElse) {
    const Case cases[] = {
        {"a fresh square", {"", "", "", "", "", "", "", "", ""}, {kRange}, SquareVerdict::NotNumbers},
        {"blanks in Text3", {"2", "7", "   ", "9", "5", "1", "4", "3", "8"}, {kRange}, SquareVerdict::NotNumbers},
        {"a letter in Text9 after warnings that would come",
         {"10", "10", "10", "9", "5", "1", "4", "3", "б"},
         {kRange},
         SquareVerdict::NotNumbers},
        {"punctuation alone", {"2", "7", "6", "9", ",", "1", "4", "3", "8"}, {kRange}, SquareVerdict::NotNumbers},
        {"a sign alone", {"-", "7", "6", "9", "5", "1", "4", "3", "8"}, {kRange}, SquareVerdict::NotNumbers},
        {"an expression", {"2", "7", "6", "9", "2+3", "1", "4", "3", "8"}, {kRange}, SquareVerdict::NotNumbers},
    };
    for (const Case& c : cases) expectCase(c);
}

TEST(MagicSquareTest, TheEightLinesAreTheRowsTheColumnsAndBothDiagonals) {
    // Each cell lies on as many lines as a magic square needs: the centre on four,
    // a corner on three, an edge on two.
    std::array<int, 9> lines{};
    for (const auto& line : kSquareLines) {
        for (const int cell : line) ++lines[static_cast<std::size_t>(cell)];
    }
    EXPECT_EQ(lines, (std::array<int, 9>{3, 2, 3, 2, 4, 2, 3, 2, 3}));
}
