// Every page of every tale set in the tale window's page label exactly as the
// label sets it: its runs of blanks start new lines, no other break makes the
// page hard to read, and the whole page fits the label.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/fakes/Fakes.h"
#include "tales/core/TaleCatalogue.h"

using namespace platform;

namespace {

// The page label Label1 of the tale window, as designed.
const LabelDesign kPageLabel{.bounds = {16, 848, 769, 153}, .font = {"Palatino Linotype", 14.25, false, true}};

struct Page {
    std::string name;
    QString text;
};

std::vector<Page> allPages() {
    std::vector<Page> pages;
    for (const tales::core::Tale& tale : tales::core::allTales())
        for (std::size_t p = 0; p < tale.pages.size(); ++p)
            pages.push_back({"tale " + std::string(tale.number) + " page " + std::to_string(p + 1),
                             QString::fromUtf8(tale.pages[p].data(), static_cast<qsizetype>(tale.pages[p].size()))});
    return pages;
}

// Where the text itself asks for a new line: after each run of five or more
// blanks that follows a word.
std::vector<int> wantedBreaks(const QString& text) {
    std::vector<int> breaks;
    int i = 0;
    while (i < text.size() && text[i] == u' ') ++i;  // the indent
    while (i < text.size()) {
        if (text[i] != u' ') {
            ++i;
            continue;
        }
        const int start = i;
        while (i < text.size() && text[i] == u' ') ++i;
        if (i - start >= 5 && i < text.size()) breaks.push_back(i);
    }
    return breaks;
}

QString shown(const QString& text, const TextLine& line) { return text.mid(line.start, line.length).trimmed(); }

struct TaleLayoutTest : ::testing::Test {
    fakes::FakeServices fakes;
    Services services = fakes.services();
    QWidget window;
    Label label{{&window, "Label1", services}, kPageLabel};

    QLabel& widget() { return *qobject_cast<QLabel*>(label.widget()); }
    int width() { return widget().contentsRect().width(); }
    int height() { return widget().contentsRect().height(); }
    // The lines the label draws for this page.
    std::vector<TextLine> lines(const Page& page) {
        label.setCaption(page.text.toStdString());
        return wrappedLines(widget().text(), widget().font(), width());
    }
};

}  // namespace

TEST_F(TaleLayoutTest, PageLabelIsTheDesignedSizeInTheFreeFace) {
    EXPECT_EQ(width(), 769);
    EXPECT_EQ(height(), 153);
    EXPECT_EQ(widget().font().pixelSize(), 19);
    EXPECT_TRUE(widget().font().italic());
}

TEST_F(TaleLayoutTest, EveryRunOfBlanksStartsANewLine) {
    for (const Page& page : allPages()) {
        std::vector<int> starts;
        for (const TextLine& line : lines(page)) starts.push_back(line.start);
        for (int at : wantedBreaks(page.text)) {
            EXPECT_NE(std::find(starts.begin(), starts.end(), at), starts.end())
                << page.name << ": \"" << page.text.mid(at, 30).toStdString() << "\" goes on the line before";
        }
    }
}

// A break the text does not ask for is only a wrap between two words: it never
// splits a word (not even at its hyphen), never leaves a dash, "<<" or a blank
// alone at a line's end or start, and never starts a line with what looks like
// a new speaker or with punctuation that belongs to the line before.
TEST_F(TaleLayoutTest, OtherBreaksOnlyWrapBetweenWordsAndKeepTheTextReadable) {
    for (const Page& page : allPages()) {
        const std::vector<int> wanted = wantedBreaks(page.text);
        const std::vector<TextLine> set = lines(page);
        for (std::size_t i = 1; i < set.size(); ++i) {
            const TextLine& line = set[i];
            const QString before = shown(page.text, set[i - 1]);
            const QString text = shown(page.text, line);
            const std::string at = page.name + " line " + std::to_string(i + 1) + " \"" + text.left(30).toStdString() + "\"";
            EXPECT_EQ(page.text[line.start - 1], u' ') << at << ": a word split";
            EXPECT_NE(page.text[line.start], u' ') << at << ": begins with a blank";
            EXPECT_FALSE(text.isEmpty()) << at << ": an empty line";
            EXPECT_FALSE(before.endsWith(u'-') || before.endsWith(QStringLiteral("<<")))
                << at << ": the line before ends with \"" << before.right(10).toStdString() << "\"";
            EXPECT_FALSE(text.isEmpty() || QStringLiteral(".,:;!?").contains(text[0]) || text.startsWith(QStringLiteral(">>")))
                << at;
            const bool asked = std::find(wanted.begin(), wanted.end(), line.start) != wanted.end();
            EXPECT_TRUE(asked || !text.startsWith(QStringLiteral("- "))) << at << ": reads as a new speaker";
        }
    }
}

TEST_F(TaleLayoutTest, EveryPageFitsTheLabelWithNothingClipped) {
    for (const Page& page : allPages()) {
        const std::vector<TextLine> set = lines(page);
        ASSERT_FALSE(set.empty()) << page.name;
        const double bottom = set.back().top + set.back().height;
        EXPECT_LE(bottom, height()) << page.name << " needs " << set.size() << " lines";
        for (const TextLine& line : set) EXPECT_LE(line.width, width()) << page.name;
    }
}

// The label draws the very lines the layout tests look at: ink in every line's
// band, none below the last.
TEST_F(TaleLayoutTest, LabelDrawsThoseLines) {
    for (const Page& page : allPages()) {
        const std::vector<TextLine> set = lines(page);
        QImage image(width(), height(), QImage::Format_RGB32);
        image.fill(Qt::white);
        widget().render(&image);
        const auto inkInRows = [&](int from, int to) {
            for (int y = std::max(0, from); y < std::min(to, image.height()); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qGray(image.pixel(x, y)) < 128) return true;
            return false;
        };
        for (std::size_t i = 0; i < set.size(); ++i) {
            const int top = static_cast<int>(set[i].top);
            EXPECT_TRUE(inkInRows(top, top + static_cast<int>(set[i].height))) << page.name << " line " << i + 1;
        }
        const int end = static_cast<int>(set.back().top + set.back().height);
        EXPECT_FALSE(inkInRows(end, image.height())) << page.name;
    }
}
