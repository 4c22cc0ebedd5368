// The converter on small drawings made for the test: what becomes an area,
// a line, an island of ink, and what is shared out.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/LineArt.h"

namespace {

constexpr int kSide = 160;
constexpr int kLine = 2 * lineart::kLineReach + 2;

// How many pieces the cells of one value make, 4- or 8-connected.
int countPieces(const lineart::Result& art, std::uint8_t value, bool diagonals) {
    std::vector<std::uint8_t> seen(art.white.size(), 0);
    std::vector<int> stack;
    int count = 0;
    for (int start = 0; start < art.width * art.height; ++start) {
        if (art.white[start] != value || seen[start]) continue;
        ++count;
        seen[start] = 1;
        stack.push_back(start);
        while (!stack.empty()) {
            const int p = stack.back();
            stack.pop_back();
            const int x = p % art.width, y = p / art.width;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int xx = x + dx, yy = y + dy;
                    if ((dx != 0 && dy != 0 && !diagonals) || xx < 0 || yy < 0 || xx >= art.width || yy >= art.height) {
                        continue;
                    }
                    const int q = yy * art.width + xx;
                    if (art.white[q] == value && !seen[q]) seen[q] = 1, stack.push_back(q);
                }
            }
        }
    }
    return count;
}

// The widths of the black runs along the middle row, left to right.
std::vector<int> blackRunsAcrossTheMiddle(const lineart::Result& art) {
    std::vector<int> runs;
    const std::uint8_t* row = art.white.data() + static_cast<std::size_t>(art.height / 2) * art.width;
    for (int x = 0, run = 0; x <= art.width; ++x) {
        if (x < art.width && !row[x]) {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    return runs;
}

struct Case {
    std::string name;
    std::function<void(QPainter&)> draw;  // on see-through paper, antialiased
    int areas;                            // white areas, the paper's included
    int blackPieces;                      // 8-connected
    std::vector<int> runs;                // black runs across the middle row
};

const QColor kLight(250, 200, 120), kOther(120, 200, 250), kDark(30, 30, 30);

TEST(LineArtTest, SmallDrawings) {
    const std::vector<Case> cases = {
        {"two touching shapes give one line between them",
         [](QPainter& p) {
             p.fillRect(QRectF(20, 20, 60.4, 120), kLight);
             p.fillRect(QRectF(80.4, 20, 59.6, 120), kOther);
         },
         3, 1, {kLine, kLine, kLine}},
        {"a small dark shape gives an island with white all round",
         [](QPainter& p) {
             p.fillRect(QRectF(20, 20, 120, 120), kLight);
             p.setBrush(kDark);
             p.setPen(Qt::NoPen);
             p.drawEllipse(QPointF(80, 80), 9.5, 9.5);
         },
         2, 2, {kLine, 18, kLine}},  // the 18 whole pixels across the disc
        {"a sliver between two shapes is shared between them",
         [](QPainter& p) {
             p.fillRect(QRectF(20, 20, 57, 120), kLight);
             p.fillRect(QRectF(77, 20, 7, 120), QColor(200, 120, 250));
             p.fillRect(QRectF(84, 20, 56, 120), kOther);
         },
         3, 1, {kLine, kLine, kLine}},
        {"a speck inside a shape is taken back into it",
         [](QPainter& p) {
             p.fillRect(QRectF(20, 20, 120, 120), kLight);
             p.fillRect(QRectF(60, 79, 3, 3), kOther);
         },
         2, 1, {kLine, kLine}},
        {"a thin dark stroke stays black, at least six pixels wide",
         [](QPainter& p) {
             p.fillRect(QRectF(20, 20, 120, 120), kLight);
             p.fillRect(QRectF(79, 40, 3, 80), kDark);
         },
         2, 2, {kLine, lineart::kLineWidth, kLine}},
    };
    for (const Case& c : cases) {
        QImage page(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
        page.fill(Qt::transparent);
        {
            QPainter painter(&page);
            painter.setRenderHint(QPainter::Antialiasing);
            c.draw(painter);
        }
        const lineart::Result art = lineart::convert(page);
        ASSERT_EQ(art.white.size(), static_cast<std::size_t>(kSide * kSide)) << c.name;
        EXPECT_EQ(countPieces(art, 1, false), c.areas) << c.name;
        EXPECT_EQ(countPieces(art, 0, true), c.blackPieces) << c.name;
        EXPECT_EQ(blackRunsAcrossTheMiddle(art), c.runs) << c.name;
    }
}

}  // namespace
