// The tale catalogue: five tales in the chooser's order, their pages with the
// openings, lengths and indents the tale window relies on, and texts that
// survive the Windows-1251 code page.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Cp1251.h"
#include "tales/core/TaleCatalogue.h"

using namespace tales::core;

namespace {

struct PageFacts {
    std::string_view opening;  // after the indent
    int length;                // in characters
    int indent;
};

struct TaleFacts {
    std::string_view number, caption, title;
    std::vector<PageFacts> pages;
};

const TaleFacts kExpected[] = {
    {"1",
     "Змея, лиса и обезьяна",
     "Змея, лиса и обезьяна",
     {{"Была одна обезьянка", 90, 0},
      {"Однажды увидала обезьянка", 467, 7},
      {"- Сжалься надо мной", 312, 3},
      {"В эту самую пору", 248, 6},
      {"- Свидетелей нет", 396, 6},
      {"- Теперь дело за тобой", 455, 6}}},
    {"2",
     "Лиса и кувшин",
     "Лиса и кувшин",
     {{"Решила баба на поле", 216, 6}, {"Ходит лиса, головой мотает", 242, 6}, {"Рассердилась лиса:", 194, 6}}},
    {"3",
     "Петух и собака",
     "Петух и собака",
     {{"Жил старичок со старушкой", 144, 6},
      {"Вот собака и говорит петуху:", 293, 6},
      {"Сошли они с дороги в лес", 365, 6},
      {"- Вот петух так петух!", 437, 6},
      {"<<Вот какое счастье привалило", 332, 6}}},
    {"4",
     "Лиса и  тетерев",
     "Лиса и тетерев",
     {{"Тетерев сидел на дереве.", 247, 6},
      {"Лисица притворилась", 326, 6},
      {"- Или ты меня боишься?", 407, 6},
      {"Услыхала лиса про собак", 260, 6}}},
    {"5",
     "Как лиса училась летать",
     "Как лиса училась летать",
     {{"Встретился с лисицей журавль:", 161, 6},
      {"Села лисица на журавля.", 171, 6},
      {"Журавль её и стряхнул с себя.", 233, 6},
      {"Села лиса на журавля. Выше прежнего", 167, 6}}},
};

// Characters, not bytes: the texts are UTF-8.
int characters(std::string_view utf8) {
    int n = 0;
    for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
    return n;
}

int leadingBlanks(std::string_view text) { return static_cast<int>(text.find_first_not_of(' ')); }

// Lengths of the runs of blanks after the indent.
std::vector<int> innerRuns(std::string_view text) {
    std::vector<int> runs;
    for (std::size_t i = text.find_first_not_of(' '); i < text.size();) {
        const std::size_t start = text.find(' ', i);
        if (start == std::string_view::npos) break;
        const std::size_t end = text.find_first_not_of(' ', start);
        runs.push_back(static_cast<int>((end == std::string_view::npos ? text.size() : end) - start));
        i = end;
    }
    return runs;
}

std::string where(const Tale& tale, std::size_t page) {
    return "tale " + std::string(tale.number) + " page " + std::to_string(page + 1);
}

}  // namespace

TEST(TaleCatalogue, HoldsTheFiveTalesInTheChoosersOrderWithTheirCaptionsTitlesAndPageCounts) {
    const auto tales = allTales();
    ASSERT_EQ(tales.size(), std::size(kExpected));
    std::size_t pages = 0;
    for (std::size_t t = 0; t < tales.size(); ++t) {
        EXPECT_EQ(tales[t].number, kExpected[t].number);
        EXPECT_EQ(tales[t].caption, kExpected[t].caption) << "tale " << t + 1;
        EXPECT_EQ(tales[t].title, kExpected[t].title) << "tale " << t + 1;
        EXPECT_EQ(tales[t].pages.size(), kExpected[t].pages.size()) << "tale " << t + 1;
        pages += tales[t].pages.size();
    }
    EXPECT_EQ(pages, 22u);
}

TEST(TaleCatalogue, FourthCaptionKeepsItsTwoBlanksWhileItsTitleHasOne) {
    const Tale* fourth = findTale("4");
    ASSERT_NE(fourth, nullptr);
    EXPECT_NE(fourth->caption.find("и  тетерев"), std::string_view::npos);
    EXPECT_EQ(fourth->title.find("  "), std::string_view::npos);
}

TEST(TaleCatalogue, EveryPageOpensAfterItsIndentWithItsWordsAndHasItsLength) {
    for (std::size_t t = 0; t < std::size(kExpected); ++t) {
        const Tale& tale = allTales()[t];
        for (std::size_t p = 0; p < std::min(tale.pages.size(), kExpected[t].pages.size()); ++p) {
            const std::string_view page = tale.pages[p];
            const PageFacts& expected = kExpected[t].pages[p];
            EXPECT_EQ(leadingBlanks(page), expected.indent) << where(tale, p);
            EXPECT_TRUE(page.substr(leadingBlanks(page)).starts_with(expected.opening))
                << where(tale, p) << " opens with \"" << page.substr(0, 60) << "\"";
            EXPECT_EQ(characters(page), expected.length) << where(tale, p);
        }
    }
}

// The runs of blanks are what the label turns into line breaks: long enough to
// reach the edge, short enough not to be mistaken for empty lines; nothing hangs
// at the end of a page, and there are no stray double blanks.
TEST(TaleCatalogue, RunsOfBlanksInsideAPageAreSingleOrFiveToTwentyFourLong) {
    for (const Tale& tale : allTales()) {
        for (std::size_t p = 0; p < tale.pages.size(); ++p) {
            const std::string_view page = tale.pages[p];
            EXPECT_NE(page.back(), ' ') << where(tale, p);
            for (int run : innerRuns(page)) {
                EXPECT_TRUE(run == 1 || (run >= 5 && run <= 24)) << where(tale, p) << " has a run of " << run;
            }
        }
    }
}

TEST(TaleCatalogue, ThoughtsAndQuotationsAreMarkedOnlyWhereTheTalesHaveThem) {
    for (const Tale& tale : allTales()) {
        for (std::size_t p = 0; p < tale.pages.size(); ++p) {
            const std::string_view page = tale.pages[p];
            const std::string at = where(tale, p);
            const bool quoting = at == "tale 1 page 2" || at == "tale 3 page 5";
            std::size_t opened = 0, closed = 0;
            for (std::size_t i = page.find("<<"); i != std::string_view::npos; i = page.find("<<", i + 2)) ++opened;
            for (std::size_t i = page.find(">>"); i != std::string_view::npos; i = page.find(">>", i + 2)) ++closed;
            EXPECT_EQ(opened, closed) << at;
            EXPECT_EQ(opened > 0, quoting) << at;
        }
    }
}

TEST(TaleCatalogue, EveryTextSurvivesWindows1251ByteForCharacter) {
    std::vector<std::string_view> texts;
    for (const Tale& tale : allTales()) {
        texts.insert(texts.end(), {tale.number, tale.caption, tale.title});
        texts.insert(texts.end(), tale.pages.begin(), tale.pages.end());
    }
    for (std::string_view text : texts) {
        const std::string bytes = platform::utf8ToCp1251(text);
        EXPECT_EQ(static_cast<int>(bytes.size()), characters(text)) << text.substr(0, 60);
        EXPECT_EQ(platform::cp1251ToUtf8(bytes), text) << "a character without a Windows-1251 code in \""
                                                        << text.substr(0, 60) << "\"";
    }
}

TEST(TaleCatalogue, FindsATaleOnlyByItsExactNumber) {
    for (std::string_view number : {"1", "2", "3", "4", "5"}) {
        const Tale* tale = findTale(number);
        ASSERT_NE(tale, nullptr) << number;
        EXPECT_EQ(tale->number, number);
    }
    EXPECT_EQ(findTale("2")->pages.size(), 3u);
    for (std::string_view other : {" 1", "1 ", "6", "0", "", "01", "3 ", "Лиса"}) {
        EXPECT_EQ(findTale(other), nullptr) << "\"" << other << "\"";
    }
}
