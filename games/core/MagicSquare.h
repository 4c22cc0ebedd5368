#pragma once
// The rules of the magic square: nine cell texts in, the messages and the verdict out.
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace games {

enum class SquareVerdict {
    NotNumbers,  // a cell holds no number: told so, nothing else checked
    Wrong,
    Solved,
};

struct SquareCheck {
    std::vector<std::string_view> messages;  // in the order they are shown
    SquareVerdict verdict = SquareVerdict::Wrong;
};

// The cells row by row, Text1 .. Text9.
SquareCheck checkSquare(std::span<const std::string, 9> cells);

// The eight lines that must each add up to 15, as cell indexes from 0: the
// rows, the columns and the two diagonals.
inline constexpr std::array<std::array<int, 3>, 8> kSquareLines{{
    {0, 1, 2},
    {3, 4, 5},
    {6, 7, 8},  // rows
    {0, 3, 6},
    {1, 4, 7},
    {2, 5, 8},  // columns
    {0, 4, 8},
    {2, 4, 6},  // diagonals
}};

}  // namespace games
