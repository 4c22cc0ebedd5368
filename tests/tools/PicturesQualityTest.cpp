// How good the 35 library pictures are to colour, measured on the files the
// build put in the program folder: how many areas a child can fill, whether
// the animal looks out with an eye, how even and how thick the lines are, how
// much solid black there is, how much of the page the animal takes, and the
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

#include "pictures/core/PictureFiles.h"

namespace {

namespace fs = std::filesystem;

const fs::path kProgram = PYATNUSHKI_PROGRAM_DIR;
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

// The black cells a k × k opening (erosion then dilation with a square)
// keeps: those inside some all-black k × k square.
std::vector<std::uint8_t> opened(const Measured& m, int k) {
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
    std::vector<std::uint8_t> kept(runs.size(), 0);
    for (int y = 0; y < h; ++y) {
        int last = -k;  // the last column in this row band where a square starts
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
    return kept;
}

// How many black cells the opening with a k × k square keeps, and how many it takes away.
std::pair<long, long> keptAndRemoved(const Measured& m, int k) {
    const std::vector<std::uint8_t> kept = opened(m, k);
    long keptCells = 0, removed = 0;
    for (std::size_t i = 0; i < m.black.size(); ++i) {
        if (m.black[i]) ++(kept[i] ? keptCells : removed);
    }
    return {keptCells, removed};
}

// Solid black: what lies in squares wider than any line, as a share of the page.
constexpr int kSolidSquare = 16;
double solidShare(const Measured& m) {
    return static_cast<double>(keptAndRemoved(m, kSolidSquare).first) / static_cast<double>(m.black.size());
}

// Eyes and the like: 8-connected black pieces with white all round them, all
// of it one area, compact (filling at least half their box) and no larger
// than a big pupil.
int blackIslands(const Measured& m) {
    const int w = m.width, h = m.height;
    std::vector<std::uint8_t> seen(m.black.size(), 0);
    std::vector<int> stack;
    int islands = 0;
    for (int start = 0; start < w * h; ++start) {
        if (!m.black[start] || seen[start]) continue;
        seen[start] = 1;
        stack.push_back(start);
        int size = 0, left = w, right = 0, top = h, bottom = 0, around = -1;
        bool island = true;
        while (!stack.empty()) {
            const int p = stack.back();
            stack.pop_back();
            ++size;
            const int x = p % w, y = p / w;
            left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int xx = x + dx, yy = y + dy;
                    if (xx < 0 || yy < 0 || xx >= w || yy >= h) {
                        island = false;
                        continue;
                    }
                    const int q = yy * w + xx;
                    if (m.black[q]) {
                        if (!seen[q]) seen[q] = 1, stack.push_back(q);
                    } else if (around < 0) {
                        around = m.area[q];
                    } else if (m.area[q] != around) {
                        island = false;
                    }
                }
            }
        }
        const int box = (right - left + 1) * (bottom - top + 1);
        if (island && right - left < 150 && bottom - top < 150 && 2 * size >= box) ++islands;
    }
    return islands;
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
        const auto [kept, removed] = keptAndRemoved(m, 6);
        const long black = kept + removed;
        std::printf("%-40s areas %2zu (smallest %5d px), black islands %d, black %4.1f %% (solid %3.1f %%), "
                    "thinner than 6 px %ld px\n",
                    m.name.c_str(), areas.size(), areas.empty() ? 0 : *std::min_element(areas.begin(), areas.end()),
                    blackIslands(m), 100.0 * static_cast<double>(black) / static_cast<double>(m.black.size()),
                    100.0 * solidShare(m), removed);
    }
}

// Enough parts to colour, none too small to hit with the fill.
TEST(PicturesQualityTest, EnoughAreasToColour) {
    std::vector<int> counts;
    for (const Measured& m : all()) {
        const std::vector<int> areas = colourable(m);
        counts.push_back(static_cast<int>(areas.size()));
        EXPECT_GE(areas.size(), 8u) << m.name;
        for (int size : areas) EXPECT_GE(size, 400) << m.name << ": an area of " << size << " px";
    }
    std::nth_element(counts.begin(), counts.begin() + counts.size() / 2, counts.end());
    EXPECT_GE(counts[counts.size() / 2], 12) << "median";
}

// An animal a child knows at once looks out of the page: its eye is a black
// island with white all round. Thirty of the drawings have an eye to keep.
TEST(PicturesQualityTest, AnimalsLookOutWithABlackEye) {
    int withEyes = 0;
    std::string without;
    for (const Measured& m : all()) {
        if (blackIslands(m) > 0) ++withEyes;
        else without += " " + m.name;
    }
    EXPECT_GE(withEyes, 30) << "no black island in" << without;
}

// No line thinner than 6 px (the opening with a 6 x 6 square removes nothing),
// and no more than 8 % of the page solid black beyond the lines.
TEST(PicturesQualityTest, NoStrokeThinnerThanSixPixelsAndLittleSolidBlack) {
    for (const Measured& m : all()) {
        EXPECT_EQ(keptAndRemoved(m, 6).second, 0) << m.name;
        EXPECT_LE(solidShare(m), 0.08) << m.name;
    }
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
// apart by how near the page is to their middle; both weigh 8 to 14 px.
TEST(PicturesQualityTest, LinesOfOneWeight) {
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
        ASSERT_FALSE(inner.empty()) << m.name;
        std::nth_element(outline.begin(), outline.begin() + outline.size() / 2, outline.end());
        std::nth_element(inner.begin(), inner.begin() + inner.size() / 2, inner.end());
        const int outlineWidth = outline[outline.size() / 2], innerWidth = inner[inner.size() / 2];
        std::printf("%-40s outline %d px, inner lines %d px\n", m.name.c_str(), outlineWidth, innerWidth);
        for (const int width : {outlineWidth, innerWidth}) {
            EXPECT_GE(width, 8) << m.name << ": outline " << outlineWidth << " px, inner lines " << innerWidth << " px";
            EXPECT_LE(width, 14) << m.name << ": outline " << outlineWidth << " px, inner lines " << innerWidth << " px";
        }
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
    // A stub shorter than this past the line it starts from is a knob, not a
    // stroke; so is the black where two lines meet in a sharp corner (a fin's
    // tip), which runs on some 30 px past the white inside the corner.
    constexpr int kReach = 3 * 36;  // chamfer units, 3 a pixel
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
