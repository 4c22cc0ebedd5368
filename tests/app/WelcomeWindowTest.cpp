// The welcome window's animation: title letters and twinkling rays.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPainterPath>
#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "tests/app/AppHarness.h"

using namespace platform;
using testing_support::AppHarness;

namespace {

struct WelcomeWindowTest : ::testing::Test, AppHarness {
    WelcomeWindowTest() { w.form5.show(); }
    // Scripts one letter's draw: which letter, then red, green and blue steps 0..6.
    void nextLetter(int index, int red, int green, int blue) {
        for (auto [value, of] : {std::pair{index, 18}, {red, 7}, {green, 7}, {blue, 7}}) nextDraw(value + 1, of);
    }
    std::pair<int, int> secondEnd(int ray) {
        const Line& line = w.form5.Line1(ray);
        return {line.x2(), line.y2()};
    }
};

// The title's letters as the design places them: row by row, left to right.
struct DesignLetter {
    int index;
    const char* text;
    int left, top;
};
const std::vector<std::vector<DesignLetter>> kTitleRows = {
    {{0, "П", 40, 8}, {1, "Я", 136, 8}, {2, "Т", 240, 8}, {3, "Н", 344, 8}, {4, "У", 448, 8}, {5, "Ш", 552, 8},
     {6, "К", 696, 8}, {7, "И", 800, 8}},
    {{8, "Х", 40, 160}, {9, "У", 136, 160}, {10, "Д", 240, 160}, {11, "О", 344, 160}, {12, "Ж", 448, 160},
     {16, "Н", 560, 160}, {17, "И", 656, 160}, {13, "К", 768, 160}, {14, "А", 912, 160}, {15, "М", 1016, 160}},
};

struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;  // inclusive
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

}  // namespace

// Each letter is drawn white as the window draws it; its ink inside its label
// must be as wide and as high as the whole glyph of the title's face, clear of
// the label's edges and of every other label, and the gaps between the letters
// of a row as even as the left edges allow, so the words do not fall apart.
TEST_F(WelcomeWindowTest, TitleLettersAreWholeInTheirLabelsAndEvenlySpaced) {
    for (int i = 0; i < 18; ++i) w.form5.Label1(i).setForeColour(rgb(255, 255, 255));
    const QImage shot = w.form5.clientWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // White blended over the blue background: red equals green, blue stays full.
    const auto ink = [&](int x, int y) {
        const QRgb p = shot.pixel(x, y);
        return qRed(p) > 0 && qRed(p) == qGreen(p) && qBlue(p) > 200;
    };
    for (const auto& row : kTitleRows) {
        std::vector<Box> inks;
        for (const DesignLetter& letter : row) {
            const Label& label = w.form5.Label1(letter.index);
            SCOPED_TRACE(std::string(letter.text) + " Label1(" + std::to_string(letter.index) + ")");
            EXPECT_EQ(label.caption(), letter.text);
            EXPECT_EQ(label.left(), letter.left);
            EXPECT_EQ(label.top(), letter.top);

            // The glyph's own extent in the face the title is drawn in.
            QPainterPath path;
            path.addText(0, 0, label.widget()->font(), QString::fromUtf8(letter.text));
            const QRectF glyph = path.boundingRect();

            // Its ink on the window: what the label shows of it.
            Box box;
            for (int y = label.top(); y < std::min(shot.height(), label.top() + label.height()); ++y) {
                for (int x = label.left(); x < std::min(shot.width(), label.left() + label.width()); ++x) {
                    if (!ink(x, y)) continue;
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
                }
            }
            ASSERT_GE(box.right, 0) << "nothing drawn";
            EXPECT_GE(box.width(), static_cast<int>(glyph.width()) - 1) << "cut at a side";
            EXPECT_GE(box.height(), static_cast<int>(glyph.height()) - 1) << "cut at the top or the bottom";
            EXPECT_GT(box.left, label.left()) << "touches the label's left edge";
            EXPECT_LT(box.right, label.left() + label.width() - 1) << "touches the label's right edge";
            EXPECT_GT(box.top, label.top());
            EXPECT_LT(box.bottom, label.top() + label.height() - 1) << "touches the label's bottom edge";
            // No other label, opaque and blue, lies over any of it.
            for (int other = 0; other < 18; ++other) {
                if (other == letter.index) continue;
                const Label& o = w.form5.Label1(other);
                const bool apart = o.left() + o.width() <= box.left || box.right < o.left() ||
                                   o.top() + o.height() <= box.top || box.bottom < o.top();
                EXPECT_TRUE(apart) << "under Label1(" << other << ")";
            }
            inks.push_back(box);
        }
        std::vector<int> gaps;
        for (std::size_t i = 0; i + 1 < inks.size(); ++i) gaps.push_back(inks[i + 1].left - inks[i].right - 1);
        const auto [narrowest, widest] = std::minmax_element(gaps.begin(), gaps.end());
        // The second row's left edges crowd its first letters and spread its last ones.
        EXPECT_GE(*narrowest, 12) << "letters crowd together";
        EXPECT_LE(*widest - *narrowest, 24) << "gaps from " << *narrowest << " to " << *widest << " px";
    }
}

TEST_F(WelcomeWindowTest, TitleStartsInvisibleAndEachTickColoursOneLetter) {
    for (int i = 0; i < 18; ++i) {
        EXPECT_EQ(w.form5.Label1(i).foreColour(), rgb(0, 0, 255)) << i;
        EXPECT_EQ(w.form5.Label1(i).backColour(), rgb(0, 0, 255)) << i;
    }
    nextLetter(17, 0, 3, 6);
    fakes.timers.advance(10);
    EXPECT_EQ(w.form5.Label1(17).foreColour(), rgb(50, 155, 255)) << "the top step, 260, counts as 255";
    EXPECT_EQ(w.form5.Label1(16).foreColour(), rgb(0, 0, 255));
    nextLetter(0, 6, 6, 6);
    nextLetter(5, 0, 0, 0);
    fakes.timers.advance(20);
    EXPECT_EQ(w.form5.Label1(0).foreColour(), rgb(255, 255, 255));
    EXPECT_EQ(w.form5.Label1(5).foreColour(), rgb(50, 50, 50));
}

TEST_F(WelcomeWindowTest, RaysSwitchBetweenTheirTwoPositionsFourTimesASecond) {
    EXPECT_EQ(secondEnd(1), (std::pair{1000, 64})) << "the design position until the first tick";
    fakes.timers.advance(250);
    EXPECT_EQ(secondEnd(0), (std::pair{912, 16}));
    EXPECT_EQ(secondEnd(1), (std::pair{992, 64}));
    EXPECT_EQ(secondEnd(2), (std::pair{1128, 240}));
    fakes.timers.advance(250);
    EXPECT_EQ(secondEnd(0), (std::pair{992, 16}));
    EXPECT_EQ(secondEnd(3), (std::pair{1056, 192}));
    EXPECT_EQ(secondEnd(4), (std::pair{1024, 120}));
    EXPECT_EQ(w.form5.Line1(4).x1(), 1048) << "the fixed end stays";
    fakes.timers.advance(250);
    EXPECT_EQ(secondEnd(0), (std::pair{912, 16}));
}

TEST_F(WelcomeWindowTest, AnimationGoesOnBehindOtherWindowsAndShowingAgainDoesNotRestartIt) {
    fakes.timers.advance(250);
    w.form5.Command3->click();  // the about page hides the welcome window
    fakes.timers.advance(250);
    EXPECT_EQ(w.form5.rayPhase(), 0) << "two ticks while partly hidden";
    fakes.timers.advance(250);
    w.form7.Command1->click();
    EXPECT_EQ(w.form5.rayPhase(), 1) << "no new load, no reset";
    EXPECT_EQ(secondEnd(0), (std::pair{912, 16}));
}

namespace {

// Counts the paint events each widget of the application receives, the area
// they paint, and the palette changes, which restyle a widget.
struct PaintCounter : QObject {
    std::map<QObject*, int> paints;
    std::map<QObject*, QRegion> painted;
    std::map<QObject*, int> paletteChanges;
    PaintCounter() { QApplication::instance()->installEventFilter(this); }
    ~PaintCounter() override { QApplication::instance()->removeEventFilter(this); }
    PaintCounter(const PaintCounter&) = delete;
    PaintCounter& operator=(const PaintCounter&) = delete;
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints[object];
            painted[object] += static_cast<QPaintEvent*>(event)->region();
        }
        if (event->type() == QEvent::PaletteChange) ++paletteChanges[object];
        return false;
    }
    int of(const Control& control) const {
        const auto it = paints.find(control.widget());
        return it == paints.end() ? 0 : it->second;
    }
    int total() const {
        int sum = 0;
        for (const auto& [object, count] : paints) sum += count;
        return sum;
    }
};

// Lets the stage paint whatever is pending.
void repaintStage() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(20);
    }
}

}  // namespace

// The title letters change colour a hundred times a second, also behind other
// windows: a tick may cost no more than the change it makes. On the welcome
// window only the recoloured letter is painted again; hidden, nothing at all.
TEST_F(WelcomeWindowTest, ALettersRecolourRepaintsThatLetterOnlyAndNothingWhileHidden) {
    desktop.stage().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&desktop.stage()));
    repaintStage();
    PaintCounter counter;

    nextLetter(3, 6, 0, 0);
    fakes.timers.advance(10);
    repaintStage();
    EXPECT_GE(counter.of(w.form5.Label1(3)), 1) << "the recoloured letter is shown";
    // Only where the letter has ink, not its whole box, and without a restyle.
    QWidget* letter = w.form5.Label1(3).widget();
    const QRect inked = counter.painted[letter].boundingRect();
    EXPECT_TRUE(letter->rect().contains(inked)) << "painted outside the letter";
    EXPECT_LT(inked.height(), letter->height() * 3 / 4) << "the whole box was painted, not the letter's ink";
    EXPECT_EQ(counter.paletteChanges[letter], 0) << "a recolour changed the palette";
    // Nothing outside its box: only a letter whose label overlaps it may be touched.
    const QRect box = w.form5.Label1(3).widget()->geometry();
    for (int i = 0; i < 18; ++i) {
        if (i == 3 || w.form5.Label1(i).widget()->geometry().intersects(box)) continue;
        EXPECT_EQ(counter.of(w.form5.Label1(i)), 0) << "letter " << i;
    }

    // Two letters far apart recoloured within one frame, one of them twice: the
    // letters between them are not drawn, and each changed letter once.
    repaintStage();
    counter.paints.clear();
    counter.painted.clear();
    nextLetter(0, 1, 2, 3);
    fakes.timers.advance(10);
    nextLetter(15, 2, 3, 4);
    fakes.timers.advance(10);
    nextLetter(0, 4, 5, 6);
    fakes.timers.advance(10);
    repaintStage();
    for (const int changed : {0, 15}) {
        QWidget* label = w.form5.Label1(changed).widget();
        EXPECT_EQ(counter.of(w.form5.Label1(changed)), 1) << "letter " << changed;
        EXPECT_LT(counter.painted[label].boundingRect().height(), label->height() * 3 / 4) << "letter " << changed;
    }
    for (int i = 1; i < 15; ++i) EXPECT_EQ(counter.of(w.form5.Label1(i)), 0) << "letter " << i << ", between the two";

    w.form5.Command1->click();  // into the main window; the welcome window stays loaded, hidden
    repaintStage();
    counter.paints.clear();
    for (int tick = 0; tick < 50; ++tick) {
        nextLetter(tick % 18, tick % 7, 6 - tick % 7, 3);
        fakes.timers.advance(10);
    }
    repaintStage();
    EXPECT_EQ(counter.total(), 0) << "paint events from 50 ticks of a hidden window";
    EXPECT_EQ(w.form5.Label1(49 % 18).foreColour(), rgb(50, 255, 155)) << "the ticks still made their change";
}
