#include "games/core/Trainer.h"

#include <algorithm>
#include <limits>

#include "games/core/GameTexts.h"
#include "platform/core/Cp1251.h"
#include "platform/core/Services.h"

namespace games::trainer {

namespace {

// num / den rounded to the nearest whole number, halves to the even one (den > 0).
int roundHalfEven(long long num, long long den) {
    long long quotient = num / den;
    long long remainder = num % den;
    if (remainder < 0) {  // floor division
        --quotient;
        remainder += den;
    }
    if (2 * remainder > den || (2 * remainder == den && quotient % 2 != 0)) ++quotient;
    return static_cast<int>(quotient);
}

}  // namespace

State start() {
    State state;
    state.letters = {{
        {6840, 7320, "б"},
        {4920, 7320, "в"},
        {7800, 7320, "г"},
        {9120, 7200, "д"},
        {5880, 7200, "а"},
    }};
    return state;
}

// (8100 - h) / 40 + h / 800 = (162000 - 19 h) / 800, kept exact.
int tickInterval(int barHeight) { return roundHalfEven(162000LL - 19LL * barHeight, 800); }

std::string letterForCode(int code) { return platform::cp1251ToUtf8(std::string(1, static_cast<char>(code))); }

std::string newLetter(platform::RandomService& random) { return letterForCode(225 + random.below(30)); }

void countSecond(State& state) {
    if (state.elapsedSeconds < std::numeric_limits<std::int16_t>::max()) ++state.elapsedSeconds;
}

Outcome tick(State& state, std::string_view typed, platform::RandomService& random) {
    if (state.decided) return {};

    // 1. The speed follows the bar as it stands at the start of the tick.
    state.interval = tickInterval(state.barHeight);

    // 2. Every letter falls by 0 to 99 twips.
    for (Letter& letter : state.letters) letter.top += random.below(100);

    // 3. Hits come before misses, and every letter showing the typed text counts.
    for (Letter& letter : state.letters) {
        if (typed == letter.text) {
            state.letterHit = true;
            letter.top = 0;
            letter.text = newLetter(random);
            state.barHeight += kHit;
        }
    }

    // 4. A key that matched nothing costs.
    if (!state.letterHit && !typed.empty()) state.barHeight -= kWrongKey;

    // 5. The flag lives only within the tick.
    state.letterHit = false;

    // 6. Letters that reached the bottom start again at the top, and cost.
    for (Letter& letter : state.letters) {
        if (letter.top > kBottom) {
            letter.top = 0;
            letter.text = newLetter(random);
            state.barHeight -= kMiss;
        }
    }

    // 7. The window empties the input box.
    // 8. and 9. A lost game before a won one: below 100, or above 8055.
    if (state.barHeight < kLostBelow) {
        state.decided = true;
        return {Result::Lost, 0};
    }
    if (state.barHeight > kWonAbove) {
        state.decided = true;
        return {Result::Won, state.elapsedSeconds};
    }
    return {};
}

std::string message(const Outcome& outcome) {
    switch (outcome.result) {
        case Result::Lost:
            return std::string(texts::kLost);
        case Result::Won:
            return std::string(texts::kWellDone) + std::string(texts::kPassedIn) + " " +
                   std::to_string(outcome.seconds) + std::string(texts::kSeconds);
        case Result::Playing:
            break;
    }
    return {};
}

Span barInColumn(int barHeight) {
    const int top = std::clamp(kBarBottom - barHeight, kColumnTop, kBarBottom);
    return {top, kBarBottom - top};
}

}  // namespace games::trainer
