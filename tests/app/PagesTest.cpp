// The about page, the instructions menu and the help pages: their texts, and
// that the texts lay out as the pages mean them to in the faces we ship.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLabel>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/pages/HelpTexts.h"
#include "tests/app/AppHarness.h"

using namespace platform;
using namespace pages;
using testing_support::AppHarness;

namespace {

const QLabel& widgetOf(const Label& label) { return *static_cast<const QLabel*>(label.widget()); }

// The lengths of the runs of two or more spaces, in the order they come.
std::vector<int> spaceRuns(const std::string& text) {
    std::vector<int> runs;
    for (std::size_t i = text.find(' '); i != std::string::npos; i = text.find(' ', i)) {
        const std::size_t end = std::min(text.find_first_not_of(' ', i), text.size());
        if (end - i >= 2) runs.push_back(static_cast<int>(end - i));
        i = end;
    }
    return runs;
}

// A label's text in the lines the label draws it in.
struct Wrapped {
    explicit Wrapped(const Label& label)
        : text(widgetOf(label).text()),
          font(widgetOf(label).font()),
          lines(platform::wrappedLines(text, font, widgetOf(label).contentsRect().width())) {}
    bool startsLine(const QString& words) const {
        const int at = text.indexOf(words);
        return at > 0 && std::any_of(lines.begin(), lines.end(), [at](const TextLine& line) { return line.start == at; });
    }
    // How far into its line the character at this index stands.
    double xOf(int index) const {
        for (const TextLine& line : lines) {
            if (index < line.start + line.length) return QFontMetricsF(font).horizontalAdvance(text.mid(line.start, index - line.start));
        }
        return 0;
    }
    QString text;
    QFont font;
    std::vector<TextLine> lines;
};

struct PagesTest : ::testing::Test, AppHarness {};

}  // namespace

TEST_F(PagesTest, AboutPageAndInstructionsMenuShowTheirTitlesAndTexts) {
    EXPECT_EQ(w.form7.Label1->caption(), "Об игре");
    EXPECT_EQ(w.form7.Label2->caption(), "d    b");
    EXPECT_EQ(w.form7.Label3->caption(), "Пятнушки");
    EXPECT_EQ(w.form7.Label4->caption(), kAboutText);
    EXPECT_EQ(w.form8.Label1->caption(), "Инструкции");
    EXPECT_EQ(w.form8.Label2->caption(), "d      b");

    EXPECT_EQ(spaceRuns(kAboutText), (std::vector{53, 2, 2, 2, 2, 101}));
    EXPECT_TRUE(kAboutText.substr(53).starts_with("-  это "));
    EXPECT_TRUE(kAboutText.ends_with("клавиатуре." + std::string(101, ' ')));
}

TEST_F(PagesTest, ProductNameStandsInTheRoomLeftAtTheStartOfTheAboutTextAndOverIt) {
    const Label& text = *w.form7.Label4;
    const Label& name = *w.form7.Label3;
    const Wrapped wrapped(text);
    ASSERT_FALSE(wrapped.lines.empty());
    const TextLine& first = wrapped.lines.front();
    ASSERT_GT(first.length, 60) << "the text begins on the first line";
    const double nameEnd = name.left() + name.width();
    // The text reads on from the name: after the name's label, but no further than two blanks away.
    const double textStart = text.left() + wrapped.xOf(static_cast<int>(kAboutText.find_first_not_of(' ')));
    EXPECT_GE(textStart, nameEnd);
    EXPECT_LE(textStart - nameEnd, 2 * QFontMetricsF(wrapped.font).horizontalAdvance(' '))
        << "a gap of " << textStart - nameEnd << " px after the name";
    EXPECT_LT(name.top() - text.top(), first.height) << "on the same line";
    const QObjectList& stack = w.form7.clientWidget()->children();
    EXPECT_GT(stack.indexOf(name.widget()), stack.indexOf(text.widget())) << "drawn over the text";
}

TEST_F(PagesTest, HelpPagesShowTheirHeadingsAndTextsUnderTheirIndexes) {
    struct Page {
        HelpPage& page;
        std::map<int, std::string> headings, bodies;
    };
    const Page pages[] = {
        {w.form11, {{0, "Начало игры"}, {1, "Заливка"}}, {{0, kStartText}, {1, kFillText}}},
        {w.form12,
         {{0, "Рисование круга и прямоугольника"}, {1, "Рисование карандашом"}},
         {{0, kShapesText}, {1, kPencilText}}},
        {w.form13,
         {{0, "Сохранение рисунков в галерею"}, {1, "Создание собственного рисунка"}},
         {{0, kSavingText}, {1, kOwnPictureText}}},
        {w.form14, {{0, "Просмотр галереи рисунков"}, {1, "Печать рисунка"}}, {{0, kGalleryText}, {1, kPrintingText}}},
        {w.form15, {{0, "Сказки"}}, {{1, kTalesText}}},
        {w.form16, {{0, "Мини-игры"}}, {{1, kMiniGamesText}}},
    };
    const auto captions = [](const CtlArray<Label>& labels) {
        std::map<int, std::string> result;
        for (const auto& [index, label] : labels.items()) result[index] = label->caption();
        return result;
    };
    for (const Page& p : pages) {
        EXPECT_EQ(captions(p.page.Label1), p.headings) << "Form" << p.page.number();
        EXPECT_EQ(captions(p.page.Label2), p.bodies) << "Form" << p.page.number();
    }
}

TEST_F(PagesTest, HelpTextsKeepEveryRunOfSpacesWhereItBelongs) {
    for (const std::string* plain : {&kStartText, &kFillText, &kOwnPictureText, &kPrintingText}) {
        EXPECT_EQ(spaceRuns(*plain), std::vector<int>{}) << *plain;
    }
    for (const std::string* indented : {&kSavingText, &kGalleryText}) EXPECT_EQ(spaceRuns(*indented), std::vector{5});
    EXPECT_EQ(spaceRuns(kMiniGamesText), std::vector{9});

    EXPECT_EQ(spaceRuns(kShapesText), (std::vector{5, 50, 119, 68}));
    EXPECT_NE(kShapesText.find("цветов) и:" + std::string(50, ' ') + "если это круг:"), std::string::npos);
    EXPECT_NE(kShapesText.find("окружности" + std::string(119, ' ') + "если же это прямоугольник:"), std::string::npos);
    EXPECT_TRUE(kShapesText.ends_with("нижний." + std::string(68, ' ')));

    EXPECT_EQ(spaceRuns(kPencilText), std::vector{4});
    EXPECT_NE(kPencilText.find("на рисунке.    Примечание:"), std::string::npos);
    EXPECT_TRUE(kPencilText.ends_with("заливкой "));

    EXPECT_EQ(spaceRuns(kTalesText), (std::vector{9, 57, 2}));
    EXPECT_NE(kTalesText.find("сказка." + std::string(57, ' ') + "Как это осуществить?"), std::string::npos);
    EXPECT_TRUE(kTalesText.ends_with("нажмите  \">>\"."));
}

TEST_F(PagesTest, RunsOfSpacesStartTheirInstructionsOnNewLinesAtTheLabelsWidth) {
    const Wrapped shapes(w.form12.Label2(0));
    EXPECT_TRUE(shapes.startsLine("если это круг"));
    EXPECT_TRUE(shapes.startsLine("если же это прямоугольник"));
    EXPECT_TRUE(Wrapped(w.form15.Label2(1)).startsLine("Как это осуществить?"));
}
