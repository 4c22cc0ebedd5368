// The keyboard trainer's rules on its state: the tick step by step, the speed,
// the letters, the clock and the bar as it is drawn.
#include <gtest/gtest.h>

#include <vector>

#include "games/core/Trainer.h"
#include "platform/fakes/Fakes.h"

using namespace games::trainer;

namespace {

// Fractions that make the next draws below n give the numbers wanted.
void script(platform::fakes::FakeRandom& random, std::initializer_list<int> numbers, int n) {
    for (const int number : numbers) random.script.push_back((number + 0.5) / n);
}

struct TrainerTest : ::testing::Test {
    platform::fakes::FakeRandom random;
    State state = start();

    // The letters high up, so no fall reaches the bottom unless a test says so.
    void lettersAtTop(std::initializer_list<const char*> texts) {
        int i = 0;
        for (const char* text : texts) {
            state.letters[static_cast<std::size_t>(i)].top = 0;
            state.letters[static_cast<std::size_t>(i++)].text = text;
        }
    }
    Outcome tickWith(std::string_view typed, std::initializer_list<int> falls,
                     std::initializer_list<int> newLetters = {}) {
        script(random, falls, 100);
        script(random, newLetters, 30);
        const Outcome outcome = tick(state, typed, random);
        EXPECT_TRUE(random.script.empty()) << "every scripted draw is used, and no more";
        return outcome;
    }
};

}  // namespace

TEST_F(TrainerTest, StartsWithTheLaidOutLettersTheBarAndTheFirstInterval) {
    const std::vector<Letter> letters(state.letters.begin(), state.letters.end());
    EXPECT_EQ(letters,
              (std::vector<Letter>{
                  {6840, 7320, "б"}, {4920, 7320, "в"}, {7800, 7320, "г"}, {9120, 7200, "д"}, {5880, 7200, "а"}}));
    EXPECT_EQ(state.barHeight, 615);
    EXPECT_EQ(state.interval, 50);
    EXPECT_EQ(state.elapsedSeconds, 0);
    EXPECT_FALSE(state.letterHit);
    EXPECT_FALSE(state.decided);
}

TEST_F(TrainerTest, IntervalFollowsTheBarRoundedHalfToEven) {
    const std::pair<int, int> rows[] = {
        {615, 188}, {115, 200},  {2015, 155}, {4015, 107}, {6015, 60}, {8015, 12},  // the documented speeds
        {800, 184}, {1600, 164},                                                    // exactly halfway: 183.5 and 164.5
        {100, 200}, {8055, 11},  // the highest and lowest a game can tick at
    };
    for (const auto& [height, interval] : rows) EXPECT_EQ(tickInterval(height), interval) << "h = " << height;
}

TEST_F(TrainerTest, TheIntervalIsSetFromTheBarAsItStoodAtTheStartOfTheTick) {
    lettersAtTop({"к", "л", "м", "н", "о"});
    tickWith("к", {0, 0, 0, 0, 0}, {0});
    EXPECT_EQ(state.barHeight, 815);
    EXPECT_EQ(state.interval, 188) << "from 615, not from 815";
}

TEST_F(TrainerTest, FirstTickMissesEveryLetterThatFallsBelowTheBottom) {
    struct Case {
        std::vector<int> falls;
        int bar;
        int missed;
    };
    const Case cases[] = {
        {{1, 1, 1, 1, 1}, 365, 5},  // the usual start: all five restart at the top
        {{0, 0, 0, 0, 0}, 465, 3},  // 7200 itself is not below the bottom
        {{99, 0, 50, 1, 0}, 415, 4},
    };
    for (const Case& c : cases) {
        state = start();
        for (const int fall : c.falls) random.script.push_back((fall + 0.5) / 100);
        for (int i = 0; i < c.missed; ++i) random.script.push_back(0.5 / 30);  // each new letter "б"
        EXPECT_EQ(tick(state, "", random), Outcome{});
        EXPECT_EQ(state.barHeight, c.bar);
        EXPECT_TRUE(random.script.empty());
        int atTop = 0;
        for (const Letter& letter : state.letters) atTop += letter.top == 0 && letter.text == "б";
        EXPECT_EQ(atTop, c.missed);
    }
}

TEST_F(TrainerTest, ALetterTypedAsItReachesTheBottomIsAHitNotAMiss) {
    // "б" at 7320 falls further, is typed and restarts: +200, and only the
    // others that reached the bottom cost 50 each.
    const Outcome outcome = tickWith("б", {5, 5, 5, 5, 5}, {10, 0, 1, 2, 3});
    EXPECT_EQ(outcome, Outcome{});
    EXPECT_EQ(state.barHeight, 615 + 200 - 4 * 50);
    EXPECT_EQ(state.letters[0].top, 0);
    EXPECT_EQ(state.letters[0].text, "л") << "the hit's new letter is drawn before the misses' ones";
    EXPECT_EQ(state.letters[1].text, "б");
    EXPECT_EQ(state.letters[4].text, "д");
}

TEST_F(TrainerTest, KeysAreComparedWithTheWholeTextOfEveryLetter) {
    struct Case {
        const char* typed;
        int bar;
        int hits;
    };
    const Case cases[] = {
        {"", 1000, 0},                   // no key: neither hit nor penalty
        {"к", 1200, 1}, {"м", 1400, 2},  // two letters showing it: both hit
        {"кл", 900, 0},                  // two keys between two ticks: one wrong key
        {"К", 900, 0},                   // uppercase never matches
        {"r", 900, 0},                   // "к" typed in a Latin layout
        {"k", 900, 0},  {" ", 900, 0},  {"я", 900, 0},
    };
    for (const Case& c : cases) {
        state = start();
        state.barHeight = 1000;
        lettersAtTop({"к", "м", "л", "м", "о"});
        std::vector<int> newLetters(static_cast<std::size_t>(c.hits), 0);
        script(random, {0, 0, 0, 0, 0}, 100);
        for (const int n : newLetters) script(random, {n}, 30);
        tick(state, c.typed, random);
        EXPECT_EQ(state.barHeight, c.bar) << '"' << c.typed << '"';
        EXPECT_TRUE(random.script.empty()) << '"' << c.typed << '"';
        EXPECT_FALSE(state.letterHit) << "the flag is cleared within the tick";
    }
}

TEST_F(TrainerTest, TheGameIsDecidedOnlyPastTheThresholds) {
    struct Case {
        int bar;
        const char* typed;  // "к" hits, "x" is a wrong key
        int missesAt;       // letters put at the bottom
        Result result;
        int barAfter;
    };
    const Case cases[] = {
        {115, "", 1, Result::Lost, 65},
        {165, "", 1, Result::Playing, 115},
        {150, "", 1, Result::Playing, 100},  // exactly 100 is not lost
        {149, "", 1, Result::Lost, 99},
        {115, "x", 3, Result::Lost, -135},  // below zero within the tick: the end decides
        {7865, "к", 0, Result::Won, 8065},
        {7855, "к", 0, Result::Playing, 8055},  // exactly 8055 is not won
        {7856, "к", 0, Result::Won, 8056},
        {8015, "к", 1, Result::Won, 8165},
    };
    for (const Case& c : cases) {
        state = start();
        state.barHeight = c.bar;
        state.elapsedSeconds = 12;
        lettersAtTop({"к", "л", "м", "н", "о"});
        for (int i = 0; i < c.missesAt; ++i) state.letters[static_cast<std::size_t>(4 - i)].top = 7200;
        script(random, {1, 1, 1, 1, 1}, 100);
        const Outcome outcome = tick(state, c.typed, random);
        random.script.clear();
        EXPECT_EQ(outcome.result, c.result) << "from " << c.bar;
        EXPECT_EQ(state.barHeight, c.barAfter) << "from " << c.bar;
        EXPECT_EQ(state.decided, c.result != Result::Playing);
        if (c.result == Result::Won) {
            EXPECT_EQ(outcome.seconds, 12);
        }
    }
}

TEST_F(TrainerTest, ADecidedGameIsNeverDecidedAgain) {
    state.barHeight = 115;
    lettersAtTop({"к", "л", "м", "н"});
    state.letters[4].top = 7200;
    ASSERT_EQ(tickWith("", {0, 0, 0, 0, 1}, {0}).result, Result::Lost);
    const State after = state;
    for (const char* typed : {"", "x", "б"}) {
        EXPECT_EQ(tick(state, typed, random), Outcome{});
        EXPECT_EQ(state.barHeight, after.barHeight);
        EXPECT_EQ(state.letters, after.letters);
    }
}

TEST_F(TrainerTest, TheWinMessageIsTheExactConcatenation) {
    EXPECT_EQ(message({Result::Won, 57}), "Отлично!Пройдено за  57 секунд");
    EXPECT_EQ(message({Result::Won, 0}), "Отлично!Пройдено за  0 секунд");
    EXPECT_EQ(message({Result::Won, 32767}), "Отлично!Пройдено за  32767 секунд");
    EXPECT_EQ(message({Result::Lost, 0}), "Проиграл!");
    EXPECT_EQ(message({}), "");
}

TEST_F(TrainerTest, TheClockCountsSecondsAndStaysAtItsLargestValue) {
    for (int i = 0; i < 57; ++i) countSecond(state);
    EXPECT_EQ(state.elapsedSeconds, 57);
    state.elapsedSeconds = 32766;
    countSecond(state);
    countSecond(state);
    countSecond(state);
    EXPECT_EQ(state.elapsedSeconds, 32767);
}

TEST_F(TrainerTest, NewLettersAreTheThirtyCodesFrom225To254) {
    std::string alphabet;
    for (int n = 0; n < 30; ++n) {
        script(random, {n}, 30);
        alphabet += newLetter(random);
    }
    EXPECT_EQ(alphabet, "бвгдежзийклмнопрстуфхцчшщъыьэю");
    random.script = {0.0, 0.999999};
    EXPECT_EQ(newLetter(random), "б");
    EXPECT_EQ(newLetter(random), "ю");
    EXPECT_EQ(letterForCode(224), "а");
    EXPECT_EQ(letterForCode(255), "я");
}

TEST_F(TrainerTest, TheBarIsDrawnFromItsFixedBottomAndClampedToItsColumn) {
    const std::pair<int, Span> rows[] = {
        {615, {7680, 615}},  {365, {7930, 365}},  {8065, {230, 8065}},
        {0, {8295, 0}},      {-135, {8295, 0}},    // below zero inside a tick
        {8175, {120, 8175}}, {9015, {120, 8175}},  // past the column's top
    };
    for (const auto& [height, span] : rows) EXPECT_EQ(barInColumn(height), span) << "h = " << height;
}
