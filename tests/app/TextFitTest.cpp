// Every designed text of every window, laid out and drawn as the program draws
// it in the faces we ship: no glyph may stick out of its label or button (where
// it would be cut off), and a run of blanks meant to start a new line must
// reach the end of its line.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "tests/app/AppHarness.h"

using testing_support::AppHarness;

namespace {

struct Text {
    std::string where;  // window and control, for the messages
    QString text;
    QFont font;
    QRect box;    // what the widget shows, in its own coordinates
    QRect area;   // where the text is laid out
    Qt::Alignment alignment;
};

// The texts of every label and button of every window, loaded as designed.
std::vector<Text> designedTexts(platform::Desktop& desktop) {
    std::vector<Text> texts;
    for (const auto& [number, form] : desktop.forms()) {
        form->ensureLoaded();
        QWidget* client = form->clientWidget();
        if (client == nullptr) continue;
        const std::string window = "Form" + std::to_string(number) + " ";
        for (const QLabel* label : client->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || !label->pixmap().isNull()) continue;
            texts.push_back({window + label->objectName().toStdString(), label->text(), label->font(), label->rect(),
                             label->contentsRect(), label->alignment()});
        }
        for (const QPushButton* button : client->findChildren<QPushButton*>()) {
            if (button->text().isEmpty()) continue;
            texts.push_back({window + button->objectName().toStdString(), button->text(), button->font(),
                             button->rect(), button->rect().adjusted(3, 3, -3, -3), Qt::AlignCenter});
        }
    }
    return texts;
}

// The text drawn as its widget draws it, with room all round for ink that
// falls outside the widget; the room is kRoom pixels on every side.
constexpr int kRoom = 200;
QImage drawnWithRoom(const Text& t) {
    QImage image(t.box.size() + QSize(2 * kRoom, 2 * kRoom), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(t.font);
    painter.setPen(Qt::black);
    platform::drawWrappedText(painter, t.area.translated(kRoom, kRoom), t.text, t.alignment);
    return image;
}

// The box around every inked pixel, in the widget's coordinates.
QRect inkOf(const Text& t) {
    const QImage image = drawnWithRoom(t);
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) > 64) ink |= QRect(x - kRoom, y - kRoom, 1, 1);
        }
    }
    return ink;
}

// The columns, in the widget's coordinates, that hold ink.
std::vector<int> inkedColumns(const Text& t) {
    const QImage image = drawnWithRoom(t);
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qAlpha(image.pixel(x, y)) > 64) {
                columns.push_back(x - kRoom);
                break;
            }
        }
    }
    return columns;
}

const Text& textOf(const std::vector<Text>& texts, const std::string& where) {
    for (const Text& t : texts) {
        if (t.where == where) return t;
    }
    throw std::out_of_range("no text " + where);
}

struct TextFitTest : ::testing::Test, AppHarness {};

}  // namespace

TEST_F(TextFitTest, EveryGlyphOfEveryDesignedTextLiesInsideItsBox) {
    const std::vector<Text> texts = designedTexts(desktop);
    // With PAGES_SCREENSHOTS set to a folder, the text pages are kept there as pictures for the documentation.
    if (const char* folder = std::getenv("PAGES_SCREENSHOTS")) {
        for (const int page : {7, 8, 11, 12, 13, 14, 15, 16}) {
            desktop.form(page).clientWidget()->grab().save(QString("%1/page-%2.png").arg(folder).arg(page));
        }
    }
    ASSERT_GT(texts.size(), 100u);
    for (const Text& t : texts) {
        const QRect ink = inkOf(t);
        if (ink.isNull()) continue;  // blanks only
        EXPECT_TRUE(t.box.contains(ink))
            << t.where << " «" << t.text.left(40).toStdString() << "»: ink " << ink.x() << "," << ink.y() << " "
            << ink.width() << "x" << ink.height() << " in a box of " << t.box.width() << "x" << t.box.height();
    }
}

TEST_F(TextFitTest, ARunOfFiveOrMoreBlanksInsideATextEndsItsLine) {
    for (const Text& t : designedTexts(desktop)) {
        const std::vector<platform::TextLine> lines = platform::wrappedLines(t.text, t.font, t.area.width());
        const auto startsLine = [&](int at) {
            for (const auto& line : lines) {
                if (line.start == at) return true;
            }
            return false;
        };
        for (int at = t.text.indexOf(' '); at >= 0; at = t.text.indexOf(' ', at)) {
            int end = at;
            while (end < t.text.size() && t.text[end] == ' ') ++end;
            // A run at the start of a line is an indent; one at the very end pads the text.
            if (end - at >= 5 && end < t.text.size() && !startsLine(at)) {
                EXPECT_TRUE(startsLine(end)) << t.where << ": the " << end - at << " blanks before «"
                                             << t.text.mid(end, 20).toStdString() << "» stop inside a line";
            }
            at = end;
        }
    }
}

// The two ornaments beside the about page's and the instructions' headings
// stand as far from the heading on the one side as on the other, clear of it.
TEST_F(TextFitTest, OrnamentsFrameTheirHeadingEvenly) {
    const std::vector<Text> texts = designedTexts(desktop);
    for (const int page : {7, 8}) {
        const std::string window = "Form" + std::to_string(page) + " ";
        const Text& heading = textOf(texts, window + "Label1");
        const Text& ornaments = textOf(texts, window + "Label2");
        // Both in the window's coordinates.
        const QRect word = inkOf(heading).translated(desktop.form(page).clientWidget()->findChild<QLabel*>("Label1")->pos());
        const int offset = desktop.form(page).clientWidget()->findChild<QLabel*>("Label2")->x();
        std::vector<int> columns = inkedColumns(ornaments);
        ASSERT_FALSE(columns.empty());
        for (int& x : columns) x += offset;
        int leftEnd = columns.front(), rightStart = columns.back();  // the inner edges of the two ornaments
        for (std::size_t i = 1; i < columns.size(); ++i) {
            if (columns[i] - columns[i - 1] > 40) {
                leftEnd = columns[i - 1];
                rightStart = columns[i];
                break;
            }
        }
        const int leftGap = word.left() - leftEnd, rightGap = rightStart - word.right();
        EXPECT_GT(leftGap, 0) << window << "the left ornament touches the heading";
        EXPECT_GT(rightGap, 0) << window << "the right ornament touches the heading";
        EXPECT_LE(std::abs(leftGap - rightGap), 24) << window << "gaps of " << leftGap << " and " << rightGap << " px";
    }
}
