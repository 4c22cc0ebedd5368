#pragma once
// The rules of the example: two drawn digits, added, against the child's answer.
#include <string>
#include <string_view>

namespace platform {
class RandomService;
}

namespace games {

// One operand: a whole number from 0 to 9, written as the label shows it.
std::string drawOperand(platform::RandomService& random);

enum class AnswerCheck {
    Ignore,  // an empty answer box: nothing happens
    Wrong,
    Right,
};

// The answer and the operands are texts, as the answer box and the two labels
// hold them; each counts rounded down to a whole number. An answer that is not
// a number (blanks alone included) is wrong.
AnswerCheck checkAnswer(std::string_view answer, std::string_view first, std::string_view second);

}  // namespace games
