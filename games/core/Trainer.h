#pragma once
// The rules of the keyboard trainer. Places and sizes are in twips, as the
// window was laid out; the window only draws what the state says.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {
class RandomService;
}

namespace games::trainer {

// A falling letter: its column never changes, only its top and its text.
struct Letter {
    int left = 0;
    int top = 0;
    std::string text;
    bool operator==(const Letter&) const = default;
};

inline constexpr int kLetters = 5;
inline constexpr int kStartHeight = 615;  // the score bar at load
inline constexpr int kBarLeft = 10800;    // the bar's place and width
inline constexpr int kBarWidth = 975;
inline constexpr int kBarBottom = 7680 + 615;  // the bar's bottom edge never moves
inline constexpr int kColumnLeft = 10680;      // the column the bar grows in
inline constexpr int kColumnTop = 120;
inline constexpr int kColumnWidth = 1215;
inline constexpr int kColumnHeight = 8295;
inline constexpr int kFirstInterval = 50;     // ms to the first tick
inline constexpr int kSecondInterval = 1000;  // ms between two counted seconds
inline constexpr int kBottom = 7200;          // a letter below this is missed
inline constexpr int kHit = 200;              // what the bar gains or loses, in twips
inline constexpr int kWrongKey = 100;
inline constexpr int kMiss = 50;
inline constexpr int kLostBelow = 100;
inline constexpr int kWonAbove = 8055;

struct State {
    std::array<Letter, kLetters> letters;  // Label1(1) .. Label1(5)
    int barHeight = kStartHeight;          // the score, in twips; below 0 only within a tick
    int interval = kFirstInterval;         // the game tick's interval, ms
    std::int16_t elapsedSeconds = 0;       // stays at its largest value instead of overflowing
    bool letterHit = false;
    bool decided = false;  // won or lost: no later tick changes anything
};

// The state at load: the five letters where and as they were laid out.
State start();

// The game tick's interval for a bar of this height: (8100 - h) / 40 + h / 800 ms,
// rounded to the nearest whole number, halves to the even one.
int tickInterval(int barHeight);

// The letter of a Windows-1251 code, in UTF-8.
std::string letterForCode(int code);
// A new falling letter: one of the codes 225 to 254, "б" to "ю".
std::string newLetter(platform::RandomService& random);

// One more second on the clock.
void countSecond(State& state);

enum class Result { Playing, Won, Lost };
struct Outcome {
    Result result = Result::Playing;
    int seconds = 0;  // the time a won game took
    bool operator==(const Outcome&) const = default;
};

// One game tick: speed, fall, hits, wrong key, misses, then the verdict. The
// typed text is the whole text of the input box, which the window empties after.
Outcome tick(State& state, std::string_view typed, platform::RandomService& random);

// The message a decided game shows; empty while it is playing.
std::string message(const Outcome& outcome);

// Where the bar is drawn: inside its column, however low or high the score is.
struct Span {
    int top = 0;
    int height = 0;
    bool operator==(const Span&) const = default;
};
Span barInColumn(int barHeight);

}  // namespace games::trainer
