#include "games/core/Example.h"

#include "platform/core/NumberInput.h"
#include "platform/core/Services.h"

namespace games {

std::string drawOperand(platform::RandomService& random) { return std::to_string(random.below(10)); }

AnswerCheck checkAnswer(std::string_view answer, std::string_view first, std::string_view second) {
    if (answer.empty()) return AnswerCheck::Ignore;
    const auto typed = platform::readNumber(answer);
    const auto a = platform::readNumber(first);
    const auto b = platform::readNumber(second);
    if (!typed || !a || !b) return AnswerCheck::Wrong;
    return typed->wholeDown == a->wholeDown + b->wholeDown ? AnswerCheck::Right : AnswerCheck::Wrong;
}

}  // namespace games
