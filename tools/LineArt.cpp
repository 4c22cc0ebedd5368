#include "tools/LineArt.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <algorithm>
#include <cstddef>
#include <limits>
#include <set>

namespace lineart {

namespace {

// Paints on an image exactly as asked but never antialiased: the SVG renderer
// switches antialiasing on by itself, and blended edge pixels would stand for
// colours the drawing does not have. Black pens are drawn `penScale` times as wide.
class AliasedEngine : public QPaintEngine {
public:
    AliasedEngine(QImage& target, double penScale)
        : QPaintEngine(QPaintEngine::AllFeatures), target_(target), penScale_(penScale) {}

    bool begin(QPaintDevice*) override {
        painter_.begin(&target_);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        return true;
    }
    bool end() override { return painter_.end(); }

    void updateState(const QPaintEngineState& state) override {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyPen) {
            QPen pen = state.pen();
            // Coloured pens widen fills; only the black outlines are thinned.
            if (pen.color() == QColor(Qt::black)) pen.setWidthF(pen.widthF() * penScale_);
            painter_.setPen(pen);
        }
        if (dirty & DirtyBrush) painter_.setBrush(state.brush());
        if (dirty & DirtyBrushOrigin) painter_.setBrushOrigin(state.brushOrigin());
        if (dirty & DirtyTransform) painter_.setTransform(state.transform());
        if (dirty & DirtyOpacity) painter_.setOpacity(state.opacity());
        if (dirty & DirtyCompositionMode) painter_.setCompositionMode(state.compositionMode());
        if (dirty & DirtyFont) painter_.setFont(state.font());
        // Our drawings never clip; one that did would come out wrong, so say so.
        if ((dirty & (DirtyClipPath | DirtyClipRegion)) && state.clipOperation() != Qt::NoClip) clipped_ = true;
    }

    void drawPath(const QPainterPath& path) override { painter_.drawPath(path); }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        switch (mode) {
            case PolylineMode:
                painter_.drawPolyline(points, count);
                break;
            case OddEvenMode:
                painter_.drawPolygon(points, count, Qt::OddEvenFill);
                break;
            case WindingMode:
            case ConvexMode:
                painter_.drawPolygon(points, count, Qt::WindingFill);
                break;
        }
    }
    void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF& source) override {
        painter_.drawPixmap(r, pixmap, source);
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags flags) override {
        painter_.drawImage(r, image, source, flags);
    }
    Type type() const override { return QPaintEngine::User; }

    bool clipped() const { return clipped_; }

private:
    QImage& target_;
    double penScale_;
    QPainter painter_;
    bool clipped_ = false;
};

class AliasedDevice : public QPaintDevice {
public:
    AliasedDevice(QImage& target, double penScale) : target_(target), engine_(target, penScale) {}
    ~AliasedDevice() override = default;
    QPaintEngine* paintEngine() const override { return &engine_; }
    bool clipped() const { return engine_.clipped(); }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
                return target_.width();
            case PdmHeight:
                return target_.height();
            case PdmWidthMM:
                return target_.widthMM();
            case PdmHeightMM:
                return target_.heightMM();
            case PdmNumColors:
                return 0;
            case PdmDepth:
                return target_.depth();
            case PdmDpiX:
            case PdmPhysicalDpiX:
                return qRound(target_.dotsPerMeterX() * 0.0254);
            case PdmDpiY:
            case PdmPhysicalDpiY:
                return qRound(target_.dotsPerMeterY() * 0.0254);
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    QImage& target_;
    mutable AliasedEngine engine_;
};

// Renders without antialiasing onto a see-through image; false if the drawing
// needs what the aliased painter does not do.
bool renderAliased(QSvgRenderer& renderer, QImage& image, const QRectF& bounds, double penScale) {
    image.fill(Qt::transparent);
    AliasedDevice device(image, penScale);
    {
        QPainter painter(&device);
        renderer.render(&painter, bounds);
    }
    return !device.clipped();
}

// Where the drawing goes: its viewBox mapped so that what it shows (not the
// whole box, which has blank edges) fills the space inside the margin, centred.
QRectF placement(QSvgRenderer& renderer, QSize size, int margin) {
    const QRectF box = renderer.viewBoxF();
    // Found on a render at a fixed scale, so the result never depends on the target size.
    constexpr double kProbeScale = 8.0;
    QImage probe(qRound(box.width() * kProbeScale), qRound(box.height() * kProbeScale),
                 QImage::Format_ARGB32_Premultiplied);
    renderAliased(renderer, probe, QRectF(0, 0, probe.width(), probe.height()), 1.0);
    int left = probe.width(), top = probe.height(), right = -1, bottom = -1;
    for (int y = 0; y < probe.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(probe.constScanLine(y));
        for (int x = 0; x < probe.width(); ++x) {
            if (qAlpha(row[x]) == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return {};
    const double contentX = left / kProbeScale, contentY = top / kProbeScale;
    const double contentW = (right + 1 - left) / kProbeScale, contentH = (bottom + 1 - top) / kProbeScale;
    const double scale = std::min((size.width() - 2.0 * margin) / contentW, (size.height() - 2.0 * margin) / contentH);
    const double x = size.width() / 2.0 - (contentX + contentW / 2) * scale;
    const double y = size.height() / 2.0 - (contentY + contentH / 2) * scale;
    return {x, y, box.width() * scale, box.height() * scale};
}

// Every colour the file names, in a fixed order; black is the strokes' own.
std::vector<QRgb> fillColours(const QByteArray& svg) {
    static const QRegularExpression hex("#([0-9a-fA-F]{6}|[0-9a-fA-F]{3})(?![0-9a-fA-F])");
    std::set<QRgb> colours;
    for (auto it = hex.globalMatch(QString::fromUtf8(svg)); it.hasNext();) {
        QString digits = it.next().captured(1);
        if (digits.size() == 3) digits = QString(digits[0]) + digits[0] + digits[1] + digits[1] + digits[2] + digits[2];
        const QRgb colour = 0xFF000000u | digits.toUInt(nullptr, 16);
        if (colour != qRgb(0, 0, 0)) colours.insert(colour);
    }
    return {colours.begin(), colours.end()};
}

int distance2(QRgb a, int r, int g, int b) {
    const int dr = qRed(a) - r, dg = qGreen(a) - g, db = qBlue(a) - b;
    return dr * dr + dg * dg + db * db;
}

}  // namespace

Labels labelDrawing(const QByteArray& svg, int width, int height, int margin, std::string* error) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        if (error) *error = "not a drawing the SVG renderer can read";
        return {};
    }
    const QRectF bounds = placement(renderer, {width, height}, margin);
    if (bounds.isEmpty()) {
        if (error) *error = "the drawing is empty";
        return {};
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (!renderAliased(renderer, image, bounds, kStrokeScale)) {
        if (error) *error = "the drawing uses clipping, which the line art does not follow";
        return {};
    }

    Labels labels{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height), fillColours(svg)};
    if (labels.fills.size() > std::numeric_limits<std::uint8_t>::max() - kFirstFill) {
        if (error) *error = "too many colours";
        return {};
    }
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::uint8_t* out = labels.label.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = row[x];
            const int alpha = qAlpha(pixel);
            // Mostly see-through: the edge belongs to what lies around the drawing.
            if (alpha < 128) {
                out[x] = kBackground;
                continue;
            }
            const int r = qRed(pixel) * 255 / alpha, g = qGreen(pixel) * 255 / alpha, b = qBlue(pixel) * 255 / alpha;
            std::uint8_t best = kStroke;
            int bestDistance = distance2(qRgb(0, 0, 0), r, g, b);
            for (std::size_t i = 0; i < labels.fills.size(); ++i) {
                const int d = distance2(labels.fills[i], r, g, b);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = static_cast<std::uint8_t>(kFirstFill + i);
                }
            }
            out[x] = best;
        }
    }
    return labels;
}

namespace {

std::size_t at(int w, int x, int y) { return static_cast<std::size_t>(y) * w + x; }

// The 4-connected pieces of pixels with the same key, -1 keys left out: the
// piece of each pixel (-1 for those), with each piece's size and first pixel.
std::vector<int> components(const std::vector<int>& key, int w, int h, std::vector<int>& sizes,
                            std::vector<int>& firsts) {
    std::vector<int> piece(key.size(), -1);
    std::vector<int> stack;
    sizes.clear();
    firsts.clear();
    for (int start = 0; start < w * h; ++start) {
        if (key[start] < 0 || piece[start] >= 0) continue;
        const int id = static_cast<int>(sizes.size());
        const int value = key[start];
        int size = 0;
        piece[start] = id;
        stack.push_back(start);
        while (!stack.empty()) {
            const int p = stack.back();
            stack.pop_back();
            ++size;
            const int x = p % w, y = p / w;
            const auto visit = [&](int q) {
                if (key[q] == value && piece[q] < 0) {
                    piece[q] = id;
                    stack.push_back(q);
                }
            };
            if (x > 0) visit(p - 1);
            if (x + 1 < w) visit(p + 1);
            if (y > 0) visit(p - w);
            if (y + 1 < h) visit(p + w);
        }
        sizes.push_back(size);
        firsts.push_back(start);
    }
    return piece;
}

// The pixels at the centre of a square of side 2 * reach + 1 that is all one
// colour (strokes excepted), found by runs along rows and then columns.
std::vector<std::uint8_t> uniformCentres(const Labels& labels, int reach) {
    const int w = labels.width, h = labels.height, side = 2 * reach + 1;
    const std::vector<std::uint8_t>& label = labels.label;
    std::vector<std::uint8_t> across(label.size(), 0);
    std::vector<int> run(w);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            run[x] = x > 0 && label[at(w, x, y)] == label[at(w, x - 1, y)] ? run[x - 1] + 1 : 1;
        }
        for (int x = reach; x + reach < w; ++x) across[at(w, x, y)] = run[x + reach] >= side ? 1 : 0;
    }
    std::vector<std::uint8_t> centre(label.size(), 0);
    for (int x = 0; x < w; ++x) {
        int down = 0;
        for (int y = 0; y < h; ++y) {
            const std::size_t p = at(w, x, y);
            if (!across[p])
                down = 0;
            else if (y > 0 && across[p - w] && label[p] == label[p - w])
                ++down;
            else
                down = 1;
            if (down >= side && label[p] != kStroke) centre[at(w, x, y - reach)] = 1;
        }
    }
    return centre;
}

// Grows the marked pixels by `reach` in every direction (a square).
void dilate(std::vector<std::uint8_t>& mask, int w, int h, int reach) {
    std::vector<std::uint8_t> across(mask.size(), 0);
    for (int y = 0; y < h; ++y) {
        int last = -2 * reach - 1;  // the last marked pixel seen in the row
        for (int x = 0; x < w + reach; ++x) {
            if (x < w && mask[at(w, x, y)]) last = x;
            if (x >= reach) across[at(w, x - reach, y)] = x - last <= 2 * reach ? 1 : 0;
        }
    }
    for (int x = 0; x < w; ++x) {
        int last = -2 * reach - 1;
        for (int y = 0; y < h + reach; ++y) {
            if (y < h && across[at(w, x, y)]) last = y;
            if (y >= reach) mask[at(w, x, y - reach)] = y - last <= 2 * reach ? 1 : 0;
        }
    }
}

}  // namespace

Regions findRegions(const Labels& labels) {
    const int w = labels.width, h = labels.height;
    // A pixel belongs to a patch only if a square of its colour covers it:
    // slivers, such as a fill peeking out from under its stroke, are left to the lines.
    std::vector<std::uint8_t> solid = uniformCentres(labels, kSolidReach);
    dilate(solid, w, h, kSolidReach);
    std::vector<int> key(labels.label.size(), -1);
    for (std::size_t p = 0; p < key.size(); ++p) {
        if (solid[p]) key[p] = labels.label[p];
    }
    Regions regions;
    regions.id = components(key, w, h, regions.size, regions.firstPixel);
    for (int first : regions.firstPixel) regions.label.push_back(labels.label[first]);
    return regions;
}

namespace {

// Pieces of a patch smaller than this become part of the lines; larger ones
// are joined to the patch's largest piece.
constexpr int kJoinable = 200;

// A patch the lines cut in pieces must still fill as one, as it did in the
// drawing: small pieces go black, the others are joined to the largest by a
// channel through the patch's own pixels. Those are never next to another
// patch's white, so a channel cannot open one area into another.
void joinPieces(std::vector<std::uint8_t>& white, const Regions& regions, int w, int h, Report* report) {
    std::vector<int> key(white.size(), -1);
    for (std::size_t p = 0; p < white.size(); ++p) {
        if (white[p]) key[p] = 0;
    }
    std::vector<int> sizes, firsts;
    const std::vector<int> area = components(key, w, h, sizes, firsts);
    std::vector<std::vector<int>> pixelsOf(sizes.size());
    std::vector<std::vector<int>> piecesOf(regions.size.size());
    for (int p = 0; p < w * h; ++p) {
        if (area[p] < 0) continue;
        if (pixelsOf[area[p]].empty()) piecesOf[regions.id[p]].push_back(area[p]);
        pixelsOf[area[p]].push_back(p);
    }

    // True if no other patch is within one pixel: channels keep to such pixels
    // where they can, so the lines beside them stay three pixels wide.
    const auto roomy = [&](int p) {
        const int x = p % w, y = p / w, own = regions.id[p];
        for (int yy = std::max(0, y - 1); yy <= std::min(h - 1, y + 1); ++yy) {
            for (int xx = std::max(0, x - 1); xx <= std::min(w - 1, x + 1); ++xx) {
                const int other = regions.id[at(w, xx, yy)];
                if (other >= 0 && other != own) return false;
            }
        }
        return true;
    };

    std::vector<std::uint8_t> joined(sizes.size(), 0);
    std::vector<int> parent(white.size(), -2);  // -2 not reached, -1 a start
    std::vector<int> reached;
    std::vector<int> queue;
    // Breadth first from the piece through the patch to a joined piece; whitens
    // the path and its roomy neighbours. False if no joined piece is reachable.
    const auto join = [&](int piece, int region, bool onlyRoomy) {
        for (int p : reached) parent[p] = -2;
        reached.clear();
        queue.clear();
        for (int p : pixelsOf[piece]) {
            parent[p] = -1;
            reached.push_back(p);
            queue.push_back(p);
        }
        for (std::size_t head = 0; head < queue.size(); ++head) {
            const int p = queue[head];
            const int x = p % w, y = p / w;
            const int next[4] = {x > 0 ? p - 1 : -1, x + 1 < w ? p + 1 : -1, y > 0 ? p - w : -1,
                                 y + 1 < h ? p + w : -1};
            for (int q : next) {
                if (q < 0 || parent[q] != -2 || regions.id[q] != region) continue;
                if (white[q] && area[q] >= 0 && joined[area[q]]) {
                    for (int t = p; t >= 0; t = parent[t]) {
                        const int tx = t % w, ty = t / w;
                        for (int yy = std::max(0, ty - 1); yy <= std::min(h - 1, ty + 1); ++yy) {
                            for (int xx = std::max(0, tx - 1); xx <= std::min(w - 1, tx + 1); ++xx) {
                                const int n = static_cast<int>(at(w, xx, yy));
                                if (regions.id[n] == region && roomy(n)) white[n] = 1;
                            }
                        }
                        white[t] = 1;
                    }
                    return true;
                }
                if (onlyRoomy && !roomy(q)) continue;
                parent[q] = p;
                reached.push_back(q);
                queue.push_back(q);
            }
        }
        return false;
    };

    for (std::size_t region = 0; region < piecesOf.size(); ++region) {
        const std::vector<int>& own = piecesOf[region];
        if (own.empty()) continue;
        int largest = own[0];
        for (int piece : own) {
            if (sizes[piece] > sizes[largest]) largest = piece;
        }
        joined[largest] = 1;
        for (int piece : own) {
            if (piece == largest) continue;
            if (sizes[piece] < kJoinable) {
                for (int p : pixelsOf[piece]) white[p] = 0;
                if (report) {
                    ++report->dropped;
                    report->droppedPixels += sizes[piece];
                }
                continue;
            }
            if (!join(piece, static_cast<int>(region), true)) join(piece, static_cast<int>(region), false);
            joined[piece] = 1;
            if (report) ++report->joined;
        }
        if (report && sizes[largest] < kSpeck) ++report->small;
    }
}

// Black specks inside one white area are noise: the area takes them back.
void absorbSpecks(std::vector<std::uint8_t>& white, int w, int h) {
    std::vector<int> whiteKey(white.size(), -1), blackKey(white.size(), -1);
    for (std::size_t p = 0; p < white.size(); ++p) (white[p] ? whiteKey : blackKey)[p] = 0;
    std::vector<int> areaSizes, blackSizes, firsts;
    const std::vector<int> area = components(whiteKey, w, h, areaSizes, firsts);
    const std::vector<int> speck = components(blackKey, w, h, blackSizes, firsts);
    std::vector<int> touches(blackSizes.size(), -1);  // the one area touched, -2 for several
    for (int p = 0; p < w * h; ++p) {
        const int s = speck[p];
        if (s < 0 || blackSizes[s] >= kSpeck || touches[s] == -2) continue;
        const int x = p % w, y = p / w;
        const auto see = [&](int q) {
            if (area[q] < 0) return;
            if (touches[s] == -1)
                touches[s] = area[q];
            else if (touches[s] != area[q])
                touches[s] = -2;
        };
        if (x > 0) see(p - 1);
        if (x + 1 < w) see(p + 1);
        if (y > 0) see(p - w);
        if (y + 1 < h) see(p + w);
    }
    for (int p = 0; p < w * h; ++p) {
        const int s = speck[p];
        if (s >= 0 && blackSizes[s] < kSpeck && touches[s] >= 0) white[p] = 1;
    }
}

// Lines at least kLineWidth pixels wide everywhere: a black pixel sticking out
// alone into one white area is a stair step of the outline and goes white; one
// still not inside an all-black square of that side takes the square around it.
void evenLines(std::vector<std::uint8_t>& white, int w, int h) {
    std::vector<int> key(white.size(), -1);
    for (std::size_t p = 0; p < white.size(); ++p) {
        if (white[p]) key[p] = 0;
    }
    std::vector<int> sizes, firsts;
    const std::vector<int> area = components(key, w, h, sizes, firsts);
    const auto black = [&](int x, int y) { return x < 0 || y < 0 || x >= w || y >= h || !white[at(w, x, y)]; };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!black(x, y)) continue;
            int seen = -1, whites = 0;
            bool oneArea = true;
            const int nx[4] = {x - 1, x + 1, x, x};
            const int ny[4] = {y, y, y - 1, y + 1};
            for (int i = 0; i < 4; ++i) {
                if (black(nx[i], ny[i])) continue;
                const int a = area[at(w, nx[i], ny[i])];
                ++whites;
                if (seen >= 0 && a != seen) oneArea = false;
                seen = a;
            }
            if (whites >= 3 && oneArea) white[at(w, x, y)] = 1;
        }
    }

    // Squares of side kLineWidth that are all black, by their top-left pixel,
    // found by runs to the right and then downwards.
    constexpr int k = kLineWidth;
    std::vector<int> run(white.size(), 0);
    for (int y = 0; y < h; ++y) {
        int length = 0;
        for (int x = w - 1; x >= 0; --x) {
            length = black(x, y) ? length + 1 : 0;
            run[at(w, x, y)] = length;
        }
    }
    std::vector<std::uint8_t> square(white.size(), 0);
    for (int x = 0; x < w; ++x) {
        int down = 0;
        for (int y = h - 1; y >= 0; --y) {
            down = run[at(w, x, y)] >= k ? down + 1 : 0;
            square[at(w, x, y)] = down >= k ? 1 : 0;
        }
    }
    const auto covered = [&](int x, int y) {
        for (int sy = std::max(0, y - k + 1); sy <= y; ++sy) {
            for (int sx = std::max(0, x - k + 1); sx <= x; ++sx) {
                if (square[at(w, sx, sy)]) return true;
            }
        }
        return false;
    };
    std::vector<int> thin;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (black(x, y) && !covered(x, y)) thin.push_back(static_cast<int>(at(w, x, y)));
        }
    }
    for (int p : thin) {
        const int x = p % w, y = p / w;
        const int left = std::clamp(x - k / 2 + 1, 0, w - k), top = std::clamp(y - k / 2 + 1, 0, h - k);
        for (int yy = top; yy < top + k; ++yy) {
            for (int xx = left; xx < left + k; ++xx) white[at(w, xx, yy)] = 0;
        }
    }
}

}  // namespace

std::vector<std::uint8_t> drawLines(const Labels& labels, Report* report) {
    const int w = labels.width, h = labels.height;
    const Regions regions = findRegions(labels);

    // A pixel stays white only with no other patch within reach, so a line
    // runs along both sides of every border between patches.
    std::vector<std::uint8_t> white(labels.label.size(), 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int own = regions.id[at(w, x, y)];
            if (own < 0) continue;
            bool clear = true;
            for (int yy = std::max(0, y - kBorderReach); clear && yy <= std::min(h - 1, y + kBorderReach); ++yy) {
                for (int xx = std::max(0, x - kBorderReach); xx <= std::min(w - 1, x + kBorderReach); ++xx) {
                    const int other = regions.id[at(w, xx, yy)];
                    if (other >= 0 && other != own) {
                        clear = false;
                        break;
                    }
                }
            }
            white[at(w, x, y)] = clear ? 1 : 0;
        }
    }
    joinPieces(white, regions, w, h, report);
    absorbSpecks(white, w, h);
    evenLines(white, w, h);
    return white;
}

QImage renderColoured(const QByteArray& svg, QSize size, int margin, QColor background) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) return image;
    const QRectF bounds = placement(renderer, size, margin);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, bounds);
    return image;
}

}  // namespace lineart
