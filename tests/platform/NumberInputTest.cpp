// Numbers as a child types them into a game's text box.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/core/NumberInput.h"

using platform::readNumber;

TEST(NumberInputTest, ReadsPlainDecimalsWithEitherSeparatorBlanksAroundAndASign) {
    struct Case {
        const char* text;
        double value;
        double wholeDown;
    };
    const Case cases[] = {
        {"7", 7, 7},
        {"07", 7, 7},
        {"  7  ", 7, 7},
        {"\t7", 7, 7},
        {"+7", 7, 7},
        {"-7", -7, -7},
        {" -3 ", -3, -3},
        {"9,5", 9.5, 9},
        {"9.5", 9.5, 9},
        {"7,99", 7.99, 7},
        {",5", 0.5, 0},
        {"5.", 5, 5},
        {"-2,5", -2.5, -3},
        {"-0,5", -0.5, -1},
        {"-0", 0, 0},
        {"0", 0, 0},
        {"10", 10, 10},
        {"99999999999", 99999999999.0, 99999999999.0},
        {"000000000000000000000000000000005", 5, 5},
    };
    for (const Case& c : cases) {
        const auto number = readNumber(c.text);
        ASSERT_TRUE(number) << '"' << c.text << '"';
        EXPECT_DOUBLE_EQ(number->value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(number->wholeDown, c.wholeDown) << '"' << c.text << '"';
    }
}

TEST(NumberInputTest, TextThatIsNoNumberIsReportedAndNeverReadAsZero) {
    for (const char* text : {"",   " ",     "   ",   "\t",  "а",   "abc", ",",   ".",    "-",  "+",  "--5",  "+-5",
                             "5-", "1,2,3", "1.2.3", "2+3", "5 5", "- 5", "1e5", "0x10", "５", "5а", "пять", "9,5,"}) {
        EXPECT_FALSE(readNumber(text)) << '"' << text << '"';
    }
}

TEST(NumberInputTest, RoundsDownFromTheDigitsSoLongFractionsDoNotRoundUp) {
    const auto number = readNumber("6,99999999999999999999");
    ASSERT_TRUE(number);
    EXPECT_EQ(number->wholeDown, 6);
    EXPECT_EQ(readNumber("-6,00000000000000000001")->wholeDown, -7);
    EXPECT_EQ(readNumber("6,000")->wholeDown, 6) << "zeros after the separator are no fraction";
}

TEST(NumberInputTest, AnyLengthOfDigitsIsALargeNumberOfItsOwnSignNeverWrapped) {
    const std::string huge(400, '9');
    for (const std::string& text : {huge, huge + ",5", std::string("12345678901234567890123")}) {
        const auto number = readNumber(text);
        ASSERT_TRUE(number) << text;
        EXPECT_GT(number->value, 1e22) << text;
        EXPECT_GT(number->wholeDown, 1e22) << text;
    }
    EXPECT_LT(readNumber("-" + huge)->value, -1e300);
    EXPECT_LT(readNumber("-" + huge)->wholeDown, -1e300);
    const auto tiny = readNumber("0," + std::string(400, '0') + "1");
    ASSERT_TRUE(tiny);
    EXPECT_EQ(tiny->wholeDown, 0);
    EXPECT_GE(tiny->value, 0);
    EXPECT_LT(tiny->value, 1e-300);
}
