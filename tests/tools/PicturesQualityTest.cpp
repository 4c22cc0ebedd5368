// How good the 35 library pictures are to colour, measured on the files the
// build put in the program folder: how many areas a child can fill, how even
// and how thick the lines are, how much of the page the animal takes, and the
// titles. Each target is checked over every picture and a failure names the
// picture with its figure.
#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "pictures/core/GalleryFolder.h"
#include "pictures/core/PictureFiles.h"

namespace {

namespace fs = std::filesystem;

const fs::path kProgram = PYATNUSHKI_PROGRAM_DIR;
const fs::path kPictures = fs::path(PYATNUSHKI_SOURCE_DIR) / "assets" / "pictures";
constexpr int kPictureCount = 35;

// One picture as the fill sees it: black cells and the 4-connected white areas.
struct Measured {
    std::string name;
    int width = 0, height = 0;
    std::vector<std::uint8_t> black;  // per cell
    std::vector<int> area;            // per cell, -1 on black
    std::vector<int> areaSize;        // per area
    int background = -1;              // the area around the animal
};

Measured measure(int number) {
    Measured m;
    auto read = pictures::readLibraryPicture(kProgram / pictures::libraryPicturePath(number));
    if (auto* error = std::get_if<pictures::FileError>(&read)) {
        ADD_FAILURE() << error->message;
        return m;
    }
    const pictures::LibraryPicture& picture = std::get<pictures::LibraryPicture>(read);
    m.name = picture.title + " (data/ " + std::to_string(number) + ".mac)";
    m.width = picture.width;
    m.height = picture.height;
    const int w = m.width, h = m.height;
    m.black.resize(picture.cells.size());
    for (std::size_t i = 0; i < picture.cells.size(); ++i) m.black[i] = picture.cells[i] == 0 ? 1 : 0;
    m.area.assign(m.black.size(), -1);
    std::vector<int> stack;
    for (int start = 0; start < w * h; ++start) {
        if (m.black[start] || m.area[start] >= 0) continue;
        const int id = static_cast<int>(m.areaSize.size());
        int size = 0;
        m.area[start] = id;
        stack.push_back(start);
        while (!stack.empty()) {
            const int p = stack.back();
            stack.pop_back();
            ++size;
            const int x = p % w, y = p / w;
            for (const int q : {x > 0 ? p - 1 : -1, x + 1 < w ? p + 1 : -1, y > 0 ? p - w : -1, y + 1 < h ? p + w : -1}) {
                if (q >= 0 && !m.black[q] && m.area[q] < 0) {
                    m.area[q] = id;
                    stack.push_back(q);
                }
            }
        }
        m.areaSize.push_back(size);
    }
    m.background = m.area.empty() ? -1 : m.area[0];
    return m;
}

const std::vector<Measured>& all() {
    static const std::vector<Measured> pictures = [] {
        std::vector<Measured> out;
        for (int n = 1; n <= kPictureCount; ++n) out.push_back(measure(n));
        return out;
    }();
    return pictures;
}

// Areas a child colours: every white area but the background.
std::vector<int> colourable(const Measured& m) {
    std::vector<int> sizes;
    for (std::size_t a = 0; a < m.areaSize.size(); ++a) {
        if (static_cast<int>(a) != m.background) sizes.push_back(m.areaSize[a]);
    }
    return sizes;
}

// The share of black cells that a k × k opening (erosion then dilation with a
// square) removes: what lies in lines thinner than k.
double thinShare(const Measured& m, int k) {
    const int w = m.width, h = m.height;
    const auto black = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && m.black[static_cast<std::size_t>(y) * w + x]; };
    // Cells whose k × k square (reaching k - 1 to the right and down) is all black.
    std::vector<int> runs(static_cast<std::size_t>(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        int run = 0;
        for (int x = w - 1; x >= 0; --x) {
            run = black(x, y) ? run + 1 : 0;
            runs[static_cast<std::size_t>(y) * w + x] = run;
        }
    }
    std::vector<std::uint8_t> fits(runs.size(), 0);
    for (int x = 0; x < w; ++x) {
        int down = 0;
        for (int y = h - 1; y >= 0; --y) {
            down = runs[static_cast<std::size_t>(y) * w + x] >= k ? down + 1 : 0;
            fits[static_cast<std::size_t>(y) * w + x] = down >= k ? 1 : 0;
        }
    }
    // Kept: black cells inside some such square.
    std::vector<std::uint8_t> kept(runs.size(), 0);
    for (int y = 0; y < h; ++y) {
        int last = -k;  // last fitting square's column in this row band, per row
        for (int x = 0; x < w; ++x) {
            bool any = false;
            for (int dy = 0; dy < k && !any; ++dy) {
                const int yy = y - dy;
                if (yy >= 0 && fits[static_cast<std::size_t>(yy) * w + x]) any = true;
            }
            if (any) last = x;
            if (x - last < k) kept[static_cast<std::size_t>(y) * w + x] = 1;
        }
    }
    long blacks = 0, removed = 0;
    for (std::size_t i = 0; i < m.black.size(); ++i) {
        if (!m.black[i]) continue;
        ++blacks;
        if (!kept[i]) ++removed;
    }
    return blacks ? static_cast<double>(removed) / blacks : 0.0;
}

TEST(PicturesQualityTest, AnimalFillsTheLimitingSideOfThePage) {
    for (const Measured& m : all()) {
        int left = m.width, right = -1, top = m.height, bottom = -1;
        for (int y = 0; y < m.height; ++y) {
            for (int x = 0; x < m.width; ++x) {
                if (!m.black[static_cast<std::size_t>(y) * m.width + x]) continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        const double across = static_cast<double>(right - left + 1) / m.width;
        const double down = static_cast<double>(bottom - top + 1) / m.height;
        EXPECT_GE(std::max(across, down), 0.6) << m.name << ": " << across << " of the width, " << down
                                                << " of the height";
    }
}

TEST(PicturesQualityTest, TitlesAreRussianCapitalisedAndDistinct) {
    std::set<std::string> titles;
    for (const Measured& m : all()) {
        const std::string title = m.name.substr(0, m.name.find(" (data/"));
        const QString text = QString::fromStdString(title);
        ASSERT_FALSE(text.isEmpty());
        EXPECT_TRUE(text[0].isUpper()) << title;
        for (const QChar c : text) {
            const bool cyrillic = c.unicode() >= 0x0400 && c.unicode() <= 0x04FF;
            EXPECT_TRUE(cyrillic || c == ' ' || c == '-') << title;
        }
        EXPECT_TRUE(titles.insert(title).second) << title << " twice";
    }
}

// Figures of every picture, printed for the record, whatever the verdicts.
TEST(PicturesQualityTest, Figures) {
    for (const Measured& m : all()) {
        const std::vector<int> areas = colourable(m);
        const int small = static_cast<int>(std::count_if(areas.begin(), areas.end(), [](int s) { return s < 400; }));
        std::printf("%-40s areas %2zu (under 400 px: %d), thin under 6x6: %.1f %%\n", m.name.c_str(), areas.size(),
                    small, 100.0 * thinShare(m, 6));
    }
}

// Enough parts to colour, none too small to hit with the fill.
TEST(PicturesQualityTest, EnoughAreasToColour) {
    std::vector<int> counts;
    for (const Measured& m : all()) {
        const std::vector<int> areas = colourable(m);
        counts.push_back(static_cast<int>(areas.size()));
        EXPECT_GE(areas.size(), 5u) << m.name;
        for (int size : areas) EXPECT_GE(size, 400) << m.name << ": an area of " << size << " px";
    }
    std::nth_element(counts.begin(), counts.begin() + counts.size() / 2, counts.end());
    EXPECT_GE(counts[counts.size() / 2], 8) << "median";
}

// Parts the drawing outlines with a stroke that bends round on itself, not
// quite closed: the duck's and the owl's wings, the snail's spiral. Each
// must be an area of its own, not cut away as a loose stroke.
TEST(PicturesQualityTest, PartsOutlinedByAnOpenStrokeAreAreas) {
    const std::vector<std::pair<std::string, std::size_t>> least = {{"Утка", 8}, {"Сова", 9}, {"Улитка", 7}};
    for (const Measured& m : all()) {
        for (const auto& [title, count] : least) {
            if (m.name.rfind(title + " (", 0) == 0) {
                EXPECT_GE(colourable(m).size(), count) << m.name;
            }
        }
    }
}

TEST(PicturesQualityTest, LinesAtLeastSixPixelsThick) {
    for (const Measured& m : all()) EXPECT_LE(thinShare(m, 6), 0.01) << m.name;
}

// Chamfer distances (3 across, 4 diagonally) from every cell to the nearest
// cell for which `source` holds; 0 on those.
std::vector<int> chamfer(const Measured& m, const std::vector<std::uint8_t>& source) {
    const int w = m.width, h = m.height;
    constexpr int kFar = 1 << 28;
    std::vector<int> d(source.size());
    for (std::size_t i = 0; i < d.size(); ++i) d[i] = source[i] ? 0 : kFar;
    const auto relax = [&](int x, int y, int dx, int dy, int cost) {
        const int xx = x + dx, yy = y + dy;
        if (xx < 0 || yy < 0 || xx >= w || yy >= h) return;
        int& here = d[static_cast<std::size_t>(y) * w + x];
        here = std::min(here, d[static_cast<std::size_t>(yy) * w + xx] + cost);
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            relax(x, y, -1, 0, 3), relax(x, y, 0, -1, 3), relax(x, y, -1, -1, 4), relax(x, y, 1, -1, 4);
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        for (int x = w - 1; x >= 0; --x) {
            relax(x, y, 1, 0, 3), relax(x, y, 0, 1, 3), relax(x, y, 1, 1, 4), relax(x, y, -1, 1, 4);
        }
    }
    return d;
}

// One weight for all lines: the middle of a line lies where the distance to
// white peaks, and twice that peak is the line's width there. Lines around
// the page (outlines) and lines between two parts (inner lines) are told
// apart by how near the page is to their middle.
TEST(PicturesQualityTest, InnerLinesAtLeastHalfAsThickAsTheOutline) {
    for (const Measured& m : all()) {
        std::vector<std::uint8_t> white(m.black.size()), page(m.black.size());
        for (std::size_t i = 0; i < m.black.size(); ++i) {
            white[i] = m.black[i] ? 0 : 1;
            page[i] = m.area[i] == m.background ? 1 : 0;
        }
        const std::vector<int> toWhite = chamfer(m, white), toPage = chamfer(m, page);
        std::vector<int> outline, inner;
        for (int y = 1; y + 1 < m.height; ++y) {
            for (int x = 1; x + 1 < m.width; ++x) {
                const std::size_t p = static_cast<std::size_t>(y) * m.width + x;
                if (!m.black[p]) continue;
                bool peak = true;
                for (int dy = -1; dy <= 1 && peak; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        if (toWhite[p + static_cast<std::ptrdiff_t>(dy) * m.width + dx] > toWhite[p]) peak = false;
                    }
                }
                if (!peak) continue;
                (toPage[p] <= toWhite[p] + 3 ? outline : inner).push_back(2 * toWhite[p] / 3);
            }
        }
        ASSERT_FALSE(outline.empty()) << m.name;
        if (inner.empty()) continue;
        std::nth_element(outline.begin(), outline.begin() + outline.size() / 2, outline.end());
        std::nth_element(inner.begin(), inner.begin() + inner.size() / 2, inner.end());
        const int outlineWidth = outline[outline.size() / 2], innerWidth = inner[inner.size() / 2];
        std::printf("%-40s outline %d px, inner lines %d px\n", m.name.c_str(), outlineWidth, innerWidth);
        EXPECT_GE(2 * innerWidth, outlineWidth) << m.name << ": outline " << outlineWidth << " px, inner lines "
                                                << innerWidth << " px";
    }
}

// A line parts two areas, or stands in the page around the animal (antennae,
// whiskers, a thin leg), or is a dot or a blob (eyes, spots). Black with only
// one area within reach is none of these: a stroke that ends loose inside the
// area, or a line that runs from the area back into itself. Crossing counts
// would not tell it from the tip of a sharp corner or an eye on a line, both
// of which have one area on both sides for a few pixels; distances do: every
// other line pixel has a second area within about a line's width.
TEST(PicturesQualityTest, NoStrokeEndsLooseInsideAnArea) {
    // A stub shorter than this past the line it starts from is a knob, not a stroke.
    constexpr int kReach = 3 * 20;  // chamfer units, 3 a pixel
    constexpr int kBlob = 3 * 9;    // this far from white all round is inside a blob
    constexpr int kSlack = 3 * 3;   // chamfer distances run a little long
    for (const Measured& m : all()) {
        const int w = m.width, h = m.height;
        // The 8-connected black pieces that are dots: small, at least half filled.
        std::vector<int> piece(m.black.size(), -1);
        std::vector<bool> dot;
        std::vector<int> stack;
        for (int start = 0; start < w * h; ++start) {
            if (!m.black[start] || piece[start] >= 0) continue;
            const int id = static_cast<int>(dot.size());
            int size = 0, left = w, right = 0, top = h, bottom = 0;
            piece[start] = id;
            stack.push_back(start);
            while (!stack.empty()) {
                const int p = stack.back();
                stack.pop_back();
                ++size;
                const int x = p % w, y = p / w;
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int xx = x + dx, yy = y + dy;
                        if (xx < 0 || yy < 0 || xx >= w || yy >= h) continue;
                        const int q = yy * w + xx;
                        if (m.black[q] && piece[q] < 0) {
                            piece[q] = id;
                            stack.push_back(q);
                        }
                    }
                }
            }
            const int box = (right - left + 1) * (bottom - top + 1);
            dot.push_back(box <= 120 * 120 && size * 2 >= box);
        }
        // Blobs: black within kBlob of a pixel kBlob from white.
        std::vector<std::uint8_t> white(m.black.size()), core(m.black.size());
        for (std::size_t i = 0; i < m.black.size(); ++i) white[i] = m.black[i] ? 0 : 1;
        const std::vector<int> toWhite = chamfer(m, white);
        for (std::size_t i = 0; i < m.black.size(); ++i) core[i] = toWhite[i] >= kBlob ? 1 : 0;
        const std::vector<int> toCore = chamfer(m, core);
        // The nearest and the second nearest area of every black pixel.
        constexpr int kFar = 1 << 28;
        std::vector<int> nearest(m.black.size(), kFar), second(m.black.size(), kFar);
        for (std::size_t a = 0; a < m.areaSize.size(); ++a) {
            std::vector<std::uint8_t> in(m.black.size());
            for (std::size_t i = 0; i < m.black.size(); ++i) in[i] = m.area[i] == static_cast<int>(a) ? 1 : 0;
            const std::vector<int> d = chamfer(m, in);
            for (std::size_t i = 0; i < m.black.size(); ++i) {
                if (!m.black[i]) continue;
                if (d[i] < nearest[i]) {
                    second[i] = nearest[i];
                    nearest[i] = d[i];
                } else {
                    second[i] = std::min(second[i], d[i]);
                }
            }
        }
        std::vector<std::uint8_t> page(m.black.size());
        for (std::size_t i = 0; i < m.black.size(); ++i) page[i] = m.area[i] == m.background ? 1 : 0;
        const std::vector<int> toPage = chamfer(m, page);
        int loose = 0, firstX = -1, firstY = -1;
        for (int p = 0; p < w * h; ++p) {
            if (!m.black[p] || dot[piece[p]] || toCore[p] <= kBlob + kSlack || toPage[p] == nearest[p]) continue;
            if (second[p] - nearest[p] < kReach) continue;
            if (loose++ == 0) firstX = p % w, firstY = p / w;
        }
        std::printf("%-40s %d px of loose lines\n", m.name.c_str(), loose);
        EXPECT_EQ(loose, 0) << m.name << ": " << loose << " px of line with only one area near, the first at ("
                            << firstX << ", " << firstY << ")";
    }
}

}  // namespace
