#include "games/core/MagicSquare.h"

#include <optional>

#include "games/core/GameTexts.h"
#include "platform/core/NumberInput.h"

namespace games {

namespace {

bool inRange(double value) { return value >= 1 && value <= 9; }

}  // namespace

SquareCheck checkSquare(std::span<const std::string, 9> cells) {
    SquareCheck result;
    std::array<platform::TypedNumber, 9> numbers;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const auto number = platform::readNumber(cells[i]);
        if (!number) {
            // Also the state of a fresh square: say what is expected, check nothing.
            result.messages.push_back(texts::kOnlyOneToNine);
            result.verdict = SquareVerdict::NotNumbers;
            return result;
        }
        numbers[i] = *number;
    }

    // 1. Only the top-left cell is range-tested, and not rounded.
    if (!inRange(numbers[0].value)) result.messages.push_back(texts::kOnlyOneToNine);

    // 2. Each cell against the cells after it, as texts: one message per group at most.
    for (std::size_t i = 0; i + 1 < cells.size(); ++i) {
        for (std::size_t j = i + 1; j < cells.size(); ++j) {
            if (cells[i] == cells[j]) {
                result.messages.push_back(texts::kSameDigits);
                break;
            }
        }
    }

    // 3. Every line adds up to 15 in whole numbers rounded down.
    bool sumsRight = true;
    for (const auto& line : kSquareLines) {
        double sum = 0;
        for (const int cell : line) sum += numbers[static_cast<std::size_t>(cell)].wholeDown;
        if (sum != 15) sumsRight = false;
    }

    // 4. A square that drew a warning, or holds a number outside 1 to 9 in any
    // cell, is no solution even when its sums come out right.
    bool allInRange = true;
    for (const auto& number : numbers) allInRange = allInRange && inRange(number.value);
    const bool solved = sumsRight && result.messages.empty() && allInRange;
    result.messages.push_back(solved ? texts::kSquareSolved : texts::kSquareWrong);
    result.verdict = solved ? SquareVerdict::Solved : SquareVerdict::Wrong;
    return result;
}

}  // namespace games
