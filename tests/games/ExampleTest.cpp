// The example's rules: the drawn operands and the check of the answer.
#include <gtest/gtest.h>

#include "games/core/Example.h"
#include "platform/fakes/Fakes.h"

using namespace games;

TEST(ExampleTest, AnswerCountsRoundedDownAgainstTheSumOfTheOperands) {
    struct Case {
        const char* answer;
        const char* first;
        const char* second;
        AnswerCheck expected;
    };
    const Case cases[] = {
        {"", "3", "4", AnswerCheck::Ignore},  // the state when the window opens
        {"0", "0", "0", AnswerCheck::Right},
        {"18", "9", "9", AnswerCheck::Right},
        {"81", "9", "9", AnswerCheck::Wrong},
        {"7", "3", "4", AnswerCheck::Right},
        {"07", "3", "4", AnswerCheck::Right},
        {" 7 ", "3", "4", AnswerCheck::Right},
        {"+7", "3", "4", AnswerCheck::Right},
        {"7,5", "3", "4", AnswerCheck::Right},
        {"7.5", "3", "4", AnswerCheck::Right},
        {"7,99", "3", "4", AnswerCheck::Right},
        {"6,99", "3", "4", AnswerCheck::Wrong},
        {"8", "3", "4", AnswerCheck::Wrong},
        {"-7", "3", "4", AnswerCheck::Wrong},
        {"-0,5", "0", "0", AnswerCheck::Wrong},  // rounded down that is -1
        {"99999999999", "9", "9", AnswerCheck::Wrong},
        {"4294967303", "3", "4", AnswerCheck::Wrong},  // 2^32 + 7: no wrapping onto 7
        {" ", "3", "4", AnswerCheck::Wrong},
        {"   ", "0", "0", AnswerCheck::Wrong},  // blanks are no 0
        {"семь", "3", "4", AnswerCheck::Wrong},
        {"3+4", "3", "4", AnswerCheck::Wrong},
        {",", "0", "0", AnswerCheck::Wrong},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checkAnswer(c.answer, c.first, c.second), c.expected)
            << '"' << c.answer << "\" for " << c.first << " + " << c.second;
    }
}

TEST(ExampleTest, OperandsAreWholeNumbersFromZeroToNineFromOneDrawEach) {
    platform::fakes::FakeRandom random;
    random.script = {0.0, 0.09999, 0.1, 0.5, 0.99999999};
    for (const char* expected : {"0", "0", "1", "5", "9"}) EXPECT_EQ(drawOperand(random), expected);
    EXPECT_TRUE(random.script.empty());
}
