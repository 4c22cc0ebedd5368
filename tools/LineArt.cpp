#include "tools/LineArt.h"

#include <QRect>
#include <QRgb>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <map>

namespace lineart {

namespace {

using Mask = std::vector<std::uint8_t>;

std::size_t at(int w, int x, int y) { return static_cast<std::size_t>(y) * w + x; }

// Exact squared Euclidean distances along one row or column (Felzenszwalb and
// Huttenlocher's lower envelope of parabolas): d[q] = min over p of f[p] + (q - p)².
void distances1d(const std::vector<double>& f, std::vector<double>& d, std::vector<int>& v, std::vector<double>& z) {
    const int n = static_cast<int>(f.size());
    int k = 0;
    v[0] = 0;
    z[0] = -1e300;
    z[1] = 1e300;
    for (int q = 1; q < n; ++q) {
        double s = 0;
        for (;;) {
            const int p = v[k];
            s = ((f[q] + 1.0 * q * q) - (f[p] + 1.0 * p * p)) / (2.0 * q - 2.0 * p);
            if (s > z[k]) break;
            --k;
        }
        ++k;
        v[k] = q;
        z[k] = s;
        z[k + 1] = 1e300;
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[k + 1] < q) ++k;
        d[q] = 1.0 * (q - v[k]) * (q - v[k]) + f[v[k]];
    }
}

// For every pixel the squared distance to the nearest marked pixel.
std::vector<double> squaredDistances(const Mask& marked, int w, int h) {
    const double far = 1.0 * w * w + 1.0 * h * h + 1.0;
    std::vector<double> out(marked.size());
    for (std::size_t i = 0; i < marked.size(); ++i) out[i] = marked[i] ? 0.0 : far;
    const int n = std::max(w, h);
    std::vector<double> f, d;
    std::vector<int> v(n + 1);
    std::vector<double> z(n + 2);
    f.resize(h), d.resize(h);
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) f[y] = out[at(w, x, y)];
        distances1d(f, d, v, z);
        for (int y = 0; y < h; ++y) out[at(w, x, y)] = d[y];
    }
    f.resize(w), d.resize(w);
    for (int y = 0; y < h; ++y) {
        std::copy_n(out.begin() + static_cast<std::ptrdiff_t>(at(w, 0, y)), w, f.begin());
        distances1d(f, d, v, z);
        std::copy(d.begin(), d.end(), out.begin() + static_cast<std::ptrdiff_t>(at(w, 0, y)));
    }
    return out;
}

// The four neighbours of p inside the image, -1 where they would fall outside.
std::array<int, 4> neighbours(int p, int w, int h) {
    const int x = p % w, y = p / w;
    return {x > 0 ? p - 1 : -1, x + 1 < w ? p + 1 : -1, y > 0 ? p - w : -1, y + 1 < h ? p + w : -1};
}

// How far apart two colours look, see-through ones counting as faint.
int difference(QRgb a, QRgb b) {
    const auto part = [](int value, int alpha) { return value * alpha / 255; };
    const int da = qAlpha(a) - qAlpha(b);
    const int dr = part(qRed(a), qAlpha(a)) - part(qRed(b), qAlpha(b));
    const int dg = part(qGreen(a), qAlpha(a)) - part(qGreen(b), qAlpha(b));
    const int db = part(qBlue(a), qAlpha(a)) - part(qBlue(b), qAlpha(b));
    return da * da + dr * dr + dg * dg + db * db;
}

// Each pixel's colour as an index into `colours`, the see-through paper being
// 0. A pixel whose eight neighbours all share its colour is pure; every other
// one (an edge blended by antialiasing) takes a colour from the pure pixels
// nearest to it, ring by ring: of those next to it, the one it looks most like.
std::vector<int> pureColours(const QImage& page, std::vector<QRgb>& colours) {
    const QImage image = page.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    std::vector<QRgb> key(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) key[at(w, x, y)] = qAlpha(row[x]) == 0 ? 0 : row[x];
    }
    colours.assign(1, 0);
    std::map<QRgb, int> index{{0, 0}};
    std::vector<int> colour(key.size(), -1);
    std::vector<int> ring;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb k = key[at(w, x, y)];
            bool pure = true;
            for (int dy = -1; dy <= 1 && pure; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int xx = x + dx, yy = y + dy;
                    if (xx >= 0 && yy >= 0 && xx < w && yy < h && key[at(w, xx, yy)] != k) pure = false;
                }
            }
            if (!pure) continue;
            const auto [it, added] = index.emplace(k, static_cast<int>(colours.size()));
            if (added) colours.push_back(k);
            colour[at(w, x, y)] = it->second;
            ring.push_back(static_cast<int>(at(w, x, y)));
        }
    }
    const auto around = [&](int p, auto&& visit) {
        const int x = p % w, y = p / w;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int xx = x + dx, yy = y + dy;
                if ((dx != 0 || dy != 0) && xx >= 0 && yy >= 0 && xx < w && yy < h) visit(static_cast<int>(at(w, xx, yy)));
            }
        }
    };
    std::vector<int> next, chosen;
    while (!ring.empty()) {
        next.clear();
        for (const int p : ring) {
            around(p, [&](int q) {
                if (colour[q] == -1) colour[q] = -2, next.push_back(q);
            });
        }
        chosen.assign(next.size(), 0);
        for (std::size_t i = 0; i < next.size(); ++i) {
            int best = -1;
            around(next[i], [&](int q) {
                if (colour[q] >= 0 && (best < 0 || difference(key[next[i]], colours[colour[q]]) <
                                                       difference(key[next[i]], colours[best]))) {
                    best = colour[q];
                }
            });
            chosen[i] = best;
        }
        for (std::size_t i = 0; i < next.size(); ++i) colour[next[i]] = chosen[i];
        ring.swap(next);
    }
    std::replace(colour.begin(), colour.end(), -1, 0);  // nothing pure at all: all paper
    return colour;
}

// The 4-connected pieces of pixels with the same key: each pixel's piece, and each piece's size.
std::vector<int> pieces(const std::vector<int>& key, int w, int h, std::vector<int>& sizes) {
    std::vector<int> piece(key.size(), -1);
    sizes.clear();
    std::vector<int> stack;
    for (int start = 0; start < w * h; ++start) {
        if (piece[start] >= 0) continue;
        const int id = static_cast<int>(sizes.size());
        int size = 0;
        piece[start] = id;
        stack.push_back(start);
        while (!stack.empty()) {
            const int p = stack.back();
            stack.pop_back();
            ++size;
            for (const int q : neighbours(p, w, h)) {
                if (q >= 0 && piece[q] < 0 && key[q] == key[p]) {
                    piece[q] = id;
                    stack.push_back(q);
                }
            }
        }
        sizes.push_back(size);
    }
    return piece;
}

// The pixels with a 4-neighbour in another piece.
Mask borders(const std::vector<int>& piece, int w, int h) {
    Mask border(piece.size(), 0);
    for (int p = 0; p < w * h; ++p) {
        for (const int q : neighbours(p, w, h)) {
            if (q >= 0 && piece[q] != piece[p]) border[p] = 1;
        }
    }
    return border;
}

int luma(QRgb c) { return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000; }

// Lines no thinner than kLineWidth: a black pixel in no all-black square of
// that side takes the square around it.
void thickenLines(std::vector<std::uint8_t>& white, int w, int h) {
    constexpr int k = kLineWidth;
    // sum(x, y): black pixels above and left of (x, y), exclusive.
    std::vector<int> sum(static_cast<std::size_t>(w + 1) * (h + 1), 0);
    const auto s = [&](int x, int y) -> int& { return sum[static_cast<std::size_t>(y) * (w + 1) + x]; };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) s(x + 1, y + 1) = s(x, y + 1) + s(x + 1, y) - s(x, y) + (white[at(w, x, y)] ? 0 : 1);
    }
    // fits(x, y): the square with its top left corner at (x, y) is all black; then
    // covered(x, y): some such square holds (x, y).
    std::vector<int> fits(sum.size(), 0);
    const auto f = [&](int x, int y) -> int& { return fits[static_cast<std::size_t>(y) * (w + 1) + x]; };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool all = x + k <= w && y + k <= h && s(x + k, y + k) - s(x, y + k) - s(x + k, y) + s(x, y) == k * k;
            f(x + 1, y + 1) = f(x, y + 1) + f(x + 1, y) - f(x, y) + (all ? 1 : 0);
        }
    }
    std::vector<std::size_t> lonely;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (white[at(w, x, y)]) continue;
            const int x0 = std::max(0, x - k + 1), y0 = std::max(0, y - k + 1);
            if (f(x + 1, y + 1) - f(x0, y + 1) - f(x + 1, y0) + f(x0, y0) == 0) lonely.push_back(at(w, x, y));
        }
    }
    // Of the squares that hold a lonely pixel, the one already blackest, so a
    // thin stroke grows to the width and no wider.
    for (const std::size_t p : lonely) {
        const int x = static_cast<int>(p) % w, y = static_cast<int>(p) / w;
        int bestX = 0, bestY = 0, best = -1;
        for (int y0 = std::max(0, y - k + 1); y0 <= std::min(y, h - k); ++y0) {
            for (int x0 = std::max(0, x - k + 1); x0 <= std::min(x, w - k); ++x0) {
                const int black = s(x0 + k, y0 + k) - s(x0, y0 + k) - s(x0 + k, y0) + s(x0, y0);
                if (black > best) best = black, bestX = x0, bestY = y0;
            }
        }
        for (int yy = bestY; best >= 0 && yy < bestY + k; ++yy) {
            std::fill_n(white.begin() + static_cast<std::ptrdiff_t>(at(w, bestX, yy)), k, 0);
        }
    }
}

// White areas too small to fill (a scrap between two lines, a glint in an eye) go black.
void fillScraps(std::vector<std::uint8_t>& white, int w, int h) {
    std::vector<int> key(white.begin(), white.end()), sizes;
    const std::vector<int> piece = pieces(key, w, h, sizes);
    for (std::size_t p = 0; p < white.size(); ++p) {
        if (white[p] && sizes[piece[p]] < kMinArea) white[p] = 0;
    }
}

// Every pixel given up (-1) takes the colour of the nearest kept one, breadth
// first, so a thin band between two patches is split down its middle.
std::vector<int> shareOut(std::vector<int> keep, int w, int h) {
    std::vector<int> queue;
    for (std::size_t p = 0; p < keep.size(); ++p) {
        if (keep[p] >= 0) queue.push_back(static_cast<int>(p));
    }
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const int p = queue[head];
        for (const int q : neighbours(p, w, h)) {
            if (q >= 0 && keep[q] < 0) {
                keep[q] = keep[p];
                queue.push_back(q);
            }
        }
    }
    std::replace(keep.begin(), keep.end(), -1, 0);
    return keep;
}

// White but for a line along every border between the pieces, and the ink.
std::vector<std::uint8_t> drawLines(const std::vector<int>& piece, const Mask& ink, int w, int h) {
    const std::vector<double> toBorder = squaredDistances(borders(piece, w, h), w, h);
    std::vector<std::uint8_t> white(piece.size());
    for (std::size_t p = 0; p < piece.size(); ++p) white[p] = !ink[p] && toBorder[p] > kLineReach * kLineReach ? 1 : 0;
    return white;
}

// The patches of one colour, and what decides their fate.
struct Patches {
    std::vector<int> of;                  // per pixel
    std::vector<int> size, colour, core;  // per patch: pixels, colour, pixels of its core
    std::vector<QRect> box;               // per patch
};

// A patch's core is what lies at least kColourableReach from any other patch:
// one with none is too thin to colour.
Patches patchesOf(const std::vector<int>& colour, int w, int h) {
    Patches patches;
    patches.of = pieces(colour, w, h, patches.size);
    const std::size_t count = patches.size.size();
    patches.colour.resize(count);
    patches.core.assign(count, 0);
    patches.box.resize(count);
    const std::vector<double> inward = squaredDistances(borders(patches.of, w, h), w, h);
    for (int p = 0; p < w * h; ++p) {
        const int i = patches.of[p];
        patches.colour[i] = colour[p];
        patches.core[i] += inward[p] >= kColourableReach * kColourableReach ? 1 : 0;
        patches.box[i] |= QRect(p % w, p / w, 1, 1);
    }
    return patches;
}

// Dark patches with no core cannot be coloured and are ink; those up to
// kInkArea are ink too, smallest first, while the ink stays within `budget`
// pixels; twins (a pair of eyes: one colour, boxes of one size, sizes within
// a tenth) go together.
std::vector<std::uint8_t> inkPatches(const Patches& patches, const std::vector<QRgb>& colours, long budget) {
    const std::vector<int>& size = patches.size;
    std::vector<std::uint8_t> inked(size.size(), 0);
    std::vector<int> candidates;
    for (std::size_t i = 0; i < size.size(); ++i) {
        const int c = patches.colour[i];
        const bool dark = c != 0 && luma(colours[c]) < kDarkLuma;
        if (!dark || static_cast<int>(i) == patches.of[0] || size[i] < kLineWidth * kLineWidth) continue;
        if (patches.core[i] == 0) inked[i] = 1;
        else if (size[i] <= kInkArea) candidates.push_back(static_cast<int>(i));
    }
    std::stable_sort(candidates.begin(), candidates.end(), [&](int a, int b) { return size[a] < size[b]; });
    const auto twins = [&](int a, int b) {
        const QRect &boxA = patches.box[a], &boxB = patches.box[b];
        return patches.colour[a] == patches.colour[b] && std::abs(boxA.width() - boxB.width()) <= 3 &&
               std::abs(boxA.height() - boxB.height()) <= 3 && 10L * std::abs(size[a] - size[b]) <= size[b];
    };
    std::vector<std::uint8_t> decided(size.size(), 0);
    for (const int first : candidates) {
        if (decided[first]) continue;
        std::vector<int> group;
        long groupSize = 0;
        for (const int other : candidates) {
            if (!decided[other] && twins(first, other)) group.push_back(other), groupSize += size[other];
        }
        if (groupSize > budget) break;
        budget -= groupSize;
        for (const int i : group) inked[i] = decided[i] = 1;
    }
    return inked;
}

}  // namespace

Result convert(const QImage& page) {
    const int w = page.width(), h = page.height();
    Result result{w, h, {}, {}, 0, 0, 0};
    if (w == 0 || h == 0) return result;
    const std::size_t n = static_cast<std::size_t>(w) * h;

    std::vector<QRgb> colours;
    const Patches patches = patchesOf(pureColours(page, colours), w, h);
    const std::vector<std::uint8_t> inked = inkPatches(patches, colours, static_cast<long>(n) * kInkPercent / 100);
    const int around = patches.of[0];  // the page around the picture

    // Kept to colour: the patches neither ink nor too thin or small to colour.
    std::vector<int> keep(n);
    Mask ink(n);
    for (std::size_t p = 0; p < n; ++p) {
        const int i = patches.of[p];
        const bool kept = i == around || (!inked[i] && patches.core[i] > 0 && patches.size[i] >= kColourableSize);
        keep[p] = kept ? patches.colour[i] : -1;
        ink[p] = inked[i];
    }

    // A patch whose white, once the lines are drawn, leaves no area large
    // enough to fill is given up as well, and the lines drawn again.
    constexpr int kRounds = 3;
    std::vector<int> areaSizes;
    for (int round = 0;; ++round) {
        result.patch = pieces(shareOut(keep, w, h), w, h, areaSizes);
        result.white = drawLines(result.patch, ink, w, h);
        if (round == kRounds) break;
        std::vector<int> whiteSizes, largest(areaSizes.size(), 0);
        const std::vector<int> white = pieces(std::vector<int>(result.white.begin(), result.white.end()), w, h, whiteSizes);
        for (std::size_t p = 0; p < n; ++p) {
            if (result.white[p]) largest[result.patch[p]] = std::max(largest[result.patch[p]], whiteSizes[white[p]]);
        }
        bool gaveUp = false;
        for (std::size_t p = 0; p < n; ++p) {
            if (keep[p] >= 0 && largest[result.patch[p]] < kMinArea && result.patch[p] != result.patch[0]) {
                keep[p] = -1;
                gaveUp = true;
            }
        }
        if (!gaveUp) break;
    }
    thickenLines(result.white, w, h);
    fillScraps(result.white, w, h);

    result.patches = static_cast<int>(areaSizes.size());
    std::vector<std::uint8_t> keepsSome(patches.size.size(), 0);
    for (std::size_t p = 0; p < n; ++p) keepsSome[patches.of[p]] |= keep[p] >= 0 ? 1 : 0;
    for (std::size_t i = 0; i < patches.size.size(); ++i) {
        result.ink += inked[i];
        result.shared += !inked[i] && !keepsSome[i] ? 1 : 0;
    }
    return result;
}

}  // namespace lineart
