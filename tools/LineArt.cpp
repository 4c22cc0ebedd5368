#include "tools/LineArt.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QLineF>
#include <QPolygonF>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <set>

namespace lineart {

namespace {

// One end of an open black stroke, in pixels: where it is, the way it points
// and the stroke's width.
struct StrokeEnd {
    QPointF at;
    QPointF direction;  // of unit length, away from the stroke
    double width = 0;
    double length = 0;  // of the whole stroke, along it
    int partner = -1;   // the stroke's other end, in the same list
};

// Paints on an image exactly as asked but never antialiased: the SVG renderer
// switches antialiasing on by itself, and blended edge pixels would stand for
// colours the drawing does not have. Black pens are drawn `penScale` times as
// wide, and the ends of their open strokes are kept.
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

    void drawPath(const QPainterPath& path) override {
        if (!blackStroke()) {
            painter_.drawPath(path);
            return;
        }
        painter_.drawPath(path);
        for (const QPolygonF& line : path.toSubpathPolygons(painter_.transform())) keepEnds(line);
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        switch (mode) {
            case PolylineMode:
                if (blackStroke()) {
                    QPolygonF line;
                    for (int i = 0; i < count; ++i) line << painter_.transform().map(points[i]);
                    keepEnds(line);
                }
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
    const std::vector<StrokeEnd>& ends() const { return ends_; }

private:
    bool blackStroke() const {
        const QPen& pen = painter_.pen();
        return pen.style() != Qt::NoPen && pen.color() == QColor(Qt::black) && pen.widthF() > 0;
    }

    // Both ends of an open line, each pointing the way the line ran into it
    // over its last few pixels.
    void keepEnds(const QPolygonF& line) {
        if (line.size() < 2 || QLineF(line.first(), line.last()).length() < 1.0) return;
        const QTransform& t = painter_.transform();
        const double width = painter_.pen().widthF() * std::sqrt(std::abs(t.determinant()));
        double length = 0;
        for (int i = 1; i < line.size(); ++i) length += QLineF(line[i - 1], line[i]).length();
        const auto keep = [&](int from, int step) {
            const QPointF end = line[from];
            QPointF back = end;
            for (int i = from + step; i >= 0 && i < line.size(); i += step) {
                back = line[i];
                if (QLineF(end, back).length() >= width) break;
            }
            const QLineF way(back, end);
            if (way.length() < 0.5) return false;
            ends_.push_back({end, (end - back) / way.length(), width, length, -1});
            return true;
        };
        const int first = static_cast<int>(ends_.size());
        if (keep(0, 1) && keep(static_cast<int>(line.size()) - 1, -1)) {
            ends_[first].partner = first + 1;
            ends_[first + 1].partner = first;
        }
    }

    QImage& target_;
    double penScale_;
    QPainter painter_;
    bool clipped_ = false;
    std::vector<StrokeEnd> ends_;
};

class AliasedDevice : public QPaintDevice {
public:
    AliasedDevice(QImage& target, double penScale) : target_(target), engine_(target, penScale) {}
    ~AliasedDevice() override = default;
    QPaintEngine* paintEngine() const override { return &engine_; }
    bool clipped() const { return engine_.clipped(); }
    const std::vector<StrokeEnd>& ends() const { return engine_.ends(); }

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
bool renderAliased(QSvgRenderer& renderer, QImage& image, const QRectF& bounds, double penScale,
                   std::vector<StrokeEnd>* ends = nullptr) {
    image.fill(Qt::transparent);
    AliasedDevice device(image, penScale);
    {
        QPainter painter(&device);
        renderer.render(&painter, bounds);
    }
    if (ends) *ends = device.ends();
    return !device.clipped();
}

// What the drawing shows, in viewBox units: not the whole box, which has blank edges.
QRectF contentBox(QSvgRenderer& renderer) {
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
    return {box.x() + left / kProbeScale, box.y() + top / kProbeScale, (right + 1 - left) / kProbeScale,
            (bottom + 1 - top) / kProbeScale};
}

// The viewBox mapped so that the content fills `space` as far as it can,
// centred across and set `down` of the way from its top to its bottom (0.5 centres).
QRectF placeIn(QSvgRenderer& renderer, const QRectF& content, const QRectF& space, double down) {
    const QRectF box = renderer.viewBoxF();
    const double scale = std::min(space.width() / content.width(), space.height() / content.height());
    const double x = space.center().x() - (content.center().x() - box.x()) * scale;
    const double y = space.top() + (space.height() - content.height() * scale) * down - (content.top() - box.y()) * scale;
    return {x, y, box.width() * scale, box.height() * scale};
}

// Where the drawing goes on a bare page: inside the margin, centred.
QRectF placement(QSvgRenderer& renderer, QSize size, int margin) {
    const QRectF content = contentBox(renderer);
    if (content.isEmpty()) return {};
    return placeIn(renderer, content,
                   QRectF(margin, margin, size.width() - 2.0 * margin, size.height() - 2.0 * margin), 0.5);
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

namespace {

// The scene's colours, none of them a drawing's own, so a scene's patch never
// runs into the animal's.
constexpr QRgb kGrass = 0xFF8FD46Cu;
constexpr QRgb kSun = 0xFFFFE35Au;
constexpr QRgb kCloud = 0xFFDCEEFAu;
constexpr QRgb kWater = 0xFF7DC6EFu;
constexpr QRgb kSand = 0xFFF2DCA4u;
constexpr QRgb kLeaf = 0xFF5BB04Du;

// Every pixel's colour among the fills, black and see-through told apart.
void labelImage(const QImage& image, Labels& labels) {
    for (int y = 0; y < labels.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::uint8_t* out = labels.label.data() + static_cast<std::size_t>(y) * labels.width;
        for (int x = 0; x < labels.width; ++x) {
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
}

QPen blackPen(double width) {
    QPen pen(QColor(Qt::black), width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// Draws every stroke end that stops inside one of the drawing's patches on to
// the nearest line ahead of it (within a cone, straight on preferred), so the
// part it began is closed. Ends on the outline, pointing out of the drawing,
// and ends already touching a line stay as they are. A stroke with no line
// near enough ahead that nearly closes on itself outlines a part of its own
// (a wing, a mouth, a shell's spiral): it is closed from end to end, or else
// its end is drawn on to a line further ahead, no further than the stroke is
// long; both only through the patch the end stops in. Other ends stay loose
// for drawLines to cut back. Returns those.
int joinLooseEnds(QImage& layer, Labels& labels, const std::vector<StrokeEnd>& ends, int* extended) {
    const int w = labels.width, h = labels.height;
    const auto labelAt = [&](QPointF p) -> int {
        const int x = static_cast<int>(std::floor(p.x())), y = static_cast<int>(std::floor(p.y()));
        if (x < 0 || y < 0 || x >= w || y >= h) return -1;
        return labels.label[at(w, x, y)];
    };
    constexpr double kStep = 0.5;
    constexpr int kRays = 7;           // each side of straight on
    constexpr double kRayAngle = 6.0;  // degrees between rays
    // A line crossing or touching near the end fills more of a ring around
    // it than the stroke's own end does: the end is joined already.
    const auto touching = [&](const StrokeEnd& end) {
        constexpr int kRing = 72;
        int onLine = 0;
        for (int i = 0; i < kRing; ++i) {
            const double angle = 2 * M_PI * i / kRing, radius = end.width * 1.5 + 1;
            if (labelAt(end.at + QPointF(std::cos(angle), std::sin(angle)) * radius) == kStroke) ++onLine;
        }
        return onLine > kRing / 4;
    };
    // The nearest line ahead through the patch `fill` within `reach`: how far, and which way.
    const auto ahead = [&](const StrokeEnd& end, int fill, double reach, int rays, QPointF* bestWay) {
        const double cap = end.width / 2 + 2;
        double best = -1, bestCost = 0;
        for (int ray = -rays; ray <= rays; ++ray) {
            const double angle = ray * kRayAngle * M_PI / 180;
            const QPointF way(end.direction.x() * std::cos(angle) - end.direction.y() * std::sin(angle),
                              end.direction.x() * std::sin(angle) + end.direction.y() * std::cos(angle));
            double t = 0;
            int seen = kStroke;
            for (; t <= cap && seen == kStroke; t += kStep) seen = labelAt(end.at + way * t);
            if (seen != fill) continue;  // this way runs along a line or out of the patch
            for (; t <= cap + reach; t += kStep) {
                seen = labelAt(end.at + way * t);
                if (seen != fill) break;
            }
            if (seen == fill || seen < 0 || seen == kBackground) continue;
            const double cost = t * (1 + 0.4 * std::abs(ray) / kRays);
            if (best < 0 || cost < bestCost) {
                best = t;
                bestCost = cost;
                *bestWay = way;
            }
        }
        return best;
    };
    // True if the straight way between two ends runs through `fill` alone, out of their caps.
    const auto through = [&](const StrokeEnd& a, const StrokeEnd& b, int fill) {
        const QLineF way(a.at, b.at);
        const double cap = std::max(a.width, b.width) / 2 + 2;
        for (double t = 0; t <= way.length(); t += kStep) {
            const int seen = labelAt(way.pointAt(t / way.length()));
            if (seen == fill) continue;
            if (seen == kStroke && (t <= cap || t >= way.length() - cap)) continue;
            return false;
        }
        return true;
    };
    const auto draw = [&](QPointF from, QPointF to, double width) {
        {
            QPainter painter(&layer);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setPen(blackPen(width));
            painter.drawLine(from, to);
        }
        // The new line counts for the ends still to come.
        const int margin = static_cast<int>(width) + 2;
        const int left = std::max(0, static_cast<int>(std::min(from.x(), to.x())) - margin);
        const int right = std::min(w - 1, static_cast<int>(std::max(from.x(), to.x())) + margin);
        const int top = std::max(0, static_cast<int>(std::min(from.y(), to.y())) - margin);
        const int bottom = std::min(h - 1, static_cast<int>(std::max(from.y(), to.y())) + margin);
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                if (layer.pixel(x, y) == qRgb(0, 0, 0)) labels.label[at(w, x, y)] = kStroke;
            }
        }
        if (extended) ++*extended;
    };
    // The patch straight ahead of an open end, out of its own round cap; the
    // stroke's colour if it is joined already, the background on the outline.
    const auto patchAhead = [&](const StrokeEnd& end) {
        const double cap = end.width / 2 + 2;
        int seen = kStroke;
        for (double s = 0; s <= cap && seen == kStroke; s += kStep) seen = labelAt(end.at + end.direction * s);
        return seen;
    };
    const auto open = [&](int fill) { return fill != kStroke && fill >= 0 && fill != kBackground; };
    std::vector<std::uint8_t> closed(ends.size(), 0);
    int loose = 0;
    for (std::size_t i = 0; i < ends.size(); ++i) {
        const StrokeEnd& end = ends[i];
        if (closed[i] || touching(end)) continue;
        const int fill = patchAhead(end);
        if (!open(fill)) continue;
        QPointF way;
        const double near = ahead(end, fill, kMaxReach, kRays, &way);
        if (near >= 0) {
            draw(end.at, end.at + way * (near + 1), end.width);
            continue;
        }
        // Only a stroke that bends round on itself outlines a part of its own;
        // a straight one drawn on far would cross a body where none was drawn.
        if (end.partner < 0) {
            ++loose;
            continue;
        }
        const StrokeEnd& other = ends[end.partner];
        if (QLineF(end.at, other.at).length() > kCloseGap * end.length) {
            ++loose;
            continue;
        }
        if (!closed[end.partner] && !touching(other) && patchAhead(other) == fill && through(end, other, fill)) {
            draw(end.at, other.at, end.width);
            closed[end.partner] = 1;
            continue;
        }
        const double far = ahead(end, fill, std::min<double>(kLongReach, end.length), 2, &way);
        if (far >= 0) {
            draw(end.at, end.at + way * (far + 1), end.width);
            continue;
        }
        ++loose;
    }
    return loose;
}

// A shape of the scene with its colour.
struct Shape {
    QPainterPath path;
    QRgb colour;
};

// The ground of a meadow, a hill across the foot of the page.
QPainterPath meadowGround(double left, double right, double top, double bottom) {
    const double width = right - left;
    QPainterPath ground;
    ground.moveTo(left, bottom);
    ground.lineTo(left, top + 24);
    ground.cubicTo(left + width * 0.3, top - 30, left + width * 0.65, top + 40, right, top);
    ground.lineTo(right, bottom);
    ground.closeSubpath();
    return ground;
}

// Water with gentle waves along its top.
QPainterPath water(double left, double right, double top, double bottom) {
    QPainterPath path;
    path.moveTo(left, bottom);
    path.lineTo(left, top);
    constexpr int kWaves = 4;
    const double wave = (right - left) / kWaves;
    for (int i = 0; i < kWaves; ++i) {
        const double x = left + i * wave;
        path.quadTo(x + wave / 4, top - 14, x + wave / 2, top);
        path.quadTo(x + wave * 3 / 4, top + 14, x + wave, top);
    }
    path.lineTo(right, bottom);
    path.closeSubpath();
    return path;
}

QPainterPath cloud(QPointF topLeft) {
    QPainterPath path;
    const double x = topLeft.x(), y = topLeft.y();
    path.addEllipse(QRectF(x, y + 28, 86, 62));
    path.addEllipse(QRectF(x + 44, y, 96, 84));
    path.addEllipse(QRectF(x + 108, y + 26, 76, 64));
    path.setFillRule(Qt::WindingFill);
    return path.simplified();
}

QPainterPath circle(QPointF centre, double radius) {
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

// Sets the scene around the animal drawn on `layer`: the big shapes first, then
// the sun, clouds and bubbles wherever they keep clear of the animal and of
// each other.
std::vector<Shape> sceneShapes(Scene scene, const QImage& layer, const QRect& animal, double line, int margin) {
    const double w = layer.width(), h = layer.height();
    const double left = margin, right = w - margin, top = margin, bottom = h - margin;
    std::vector<Shape> shapes;
    std::vector<QRectF> taken;
    // Free if no pixel of the animal lies within the shape's box grown by a line's width.
    const auto fits = [&](const QPainterPath& path) {
        const QRectF shape = path.boundingRect().adjusted(-line, -line, line, line);
        if (shape.left() < left || shape.right() > right || shape.top() < top || shape.bottom() > bottom) return false;
        const QRectF box = path.boundingRect().adjusted(-2 * line, -2 * line, 2 * line, 2 * line);
        for (const QRectF& other : taken) {
            if (other.intersects(box)) return false;
        }
        for (int y = static_cast<int>(box.top()); y <= static_cast<int>(box.bottom()); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
            for (int x = static_cast<int>(box.left()); x <= static_cast<int>(box.right()); ++x) {
                if (qAlpha(row[x]) != 0) return false;
            }
        }
        return true;
    };
    const auto place = [&](const std::vector<QPainterPath>& candidates, QRgb colour) {
        for (const QPainterPath& path : candidates) {
            if (!fits(path)) continue;
            shapes.push_back({path, colour});
            taken.push_back(path.boundingRect().adjusted(-line, -line, line, line));
            return true;
        }
        return false;
    };
    const double pad = 2 * line;
    constexpr double kSunRadius = 56;
    const double sunY = top + pad + kSunRadius;
    const std::vector<QPainterPath> suns = {circle({right - pad - kSunRadius, sunY}, kSunRadius),
                                            circle({left + pad + kSunRadius, sunY}, kSunRadius)};
    const std::vector<QPainterPath> clouds = {cloud({left + pad, top + pad}), cloud({w / 2 - 92, top + pad}),
                                              cloud({right - pad - 184, top + pad}),
                                              cloud({left + pad, top + pad + 110}),
                                              cloud({right - pad - 184, top + pad + 110})};
    switch (scene) {
        case Scene::None:
            break;
        case Scene::Meadow: {
            shapes.push_back({meadowGround(left, right, bottom - 150, bottom), kGrass});
            place(suns, kSun);
            place(clouds, kCloud);
            place(clouds, kCloud);
            break;
        }
        case Scene::Sea: {
            const double surface = top + 200;
            shapes.push_back({water(left, right, surface, bottom), kWater});
            shapes.push_back({meadowGround(left, right, bottom - 70, bottom), kSand});
            taken.push_back(QRectF(left, surface - 20, right - left, 40));
            taken.push_back(QRectF(left, bottom - 110, right - left, 110));
            place(suns, kSun);
            place(clouds, kCloud);
            std::vector<QPainterPath> bubbles;
            for (int row = 0; row < 6; ++row) {
                for (int column = 0; column < 2; ++column) {
                    const double x = column == 0 ? right - pad - 40 - row % 2 * 30 : left + pad + 40 + row % 2 * 30;
                    bubbles.push_back(circle({x, surface + 70 + row * 95}, 30));
                }
            }
            for (int i = 0; i < 3; ++i) place(bubbles, kCloud);
            break;
        }
        case Scene::Pond: {
            const double surface = animal.bottom() - animal.height() * 0.3;
            shapes.push_back({water(left, right, surface, bottom), kWater});
            taken.push_back(QRectF(left, surface - 20, right - left, 40));
            place(suns, kSun);
            place(clouds, kCloud);
            std::vector<QPainterPath> pads;
            for (const double x : {left + pad, right - pad - 200, w / 2 - 100}) {
                QPainterPath leaf;
                leaf.addEllipse(QRectF(x, bottom - pad - 90, 200, 80));
                pads.push_back(leaf);
            }
            place(pads, kLeaf);
            break;
        }
    }
    return shapes;
}

// Patches whose white, once the lines are drawn, would be too small to colour
// (about the pixels with a square of their colour around them as wide as the
// lines cut in) are joined to the patch across the thinnest stroke: the
// patch takes that neighbour's colour and a channel of it is cut through the
// stroke, so no scrap of sky between legs and grass turns into a black blob.
// The rest of the stroke then parts the one area from itself, and drawLines
// cuts it away. Returns how many patches were joined.
int mergeTinyPatches(Labels& labels) {
    const int w = labels.width, h = labels.height;
    // Half the channel's width: it must hold the squares a patch is made of.
    constexpr int kChannel = kSolidReach + 2;
    int merged = 0;
    std::vector<int> parent(labels.label.size(), -2);  // -2 not reached, -1 a start
    std::vector<int> queue;
    for (int round = 0; round < 4; ++round) {
        const Regions regions = findRegions(labels);
        const std::vector<std::uint8_t> core = uniformCentres(labels, kBorderReach + 2);
        std::vector<int> kept(regions.size.size(), 0);
        for (std::size_t p = 0; p < core.size(); ++p) {
            if (regions.id[p] >= 0 && core[p]) ++kept[regions.id[p]];
        }
        // The page around the picture stays, however the scene cuts it.
        const auto tiny = [&](int region) { return kept[region] < kTinyPatch && region != regions.id[0]; };
        std::vector<std::vector<int>> pixelsOf(regions.size.size());
        for (int p = 0; p < w * h; ++p) {
            if (regions.id[p] >= 0 && tiny(regions.id[p])) pixelsOf[regions.id[p]].push_back(p);
        }
        int joined = 0;
        for (std::size_t region = 0; region < pixelsOf.size(); ++region) {
            if (pixelsOf[region].empty()) continue;
            // Breadth first through the strokes and slivers to the nearest patch big enough.
            std::fill(parent.begin(), parent.end(), -2);
            queue.clear();
            for (int p : pixelsOf[region]) {
                parent[p] = -1;
                queue.push_back(p);
            }
            int from = -1, to = -1;
            for (std::size_t head = 0; head < queue.size() && to < 0; ++head) {
                const int p = queue[head], x = p % w, y = p / w;
                for (int dy = -1; dy <= 1 && to < 0; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int xx = x + dx, yy = y + dy;
                        if (xx < 0 || yy < 0 || xx >= w || yy >= h) continue;
                        const int q = static_cast<int>(at(w, xx, yy));
                        if (parent[q] != -2) continue;
                        const int other = regions.id[q];
                        if (other >= 0 && other != static_cast<int>(region) && !tiny(other)) {
                            from = p;
                            to = q;
                            break;
                        }
                        if (other >= 0) continue;
                        parent[q] = p;
                        queue.push_back(q);
                    }
                }
            }
            if (to < 0) continue;
            const int target = regions.id[to];
            const std::uint8_t colour = labels.label[to];
            for (int p : pixelsOf[region]) labels.label[p] = colour;
            for (int t = from; t >= 0; t = parent[t]) {
                const int tx = t % w, ty = t / w;
                for (int yy = std::max(0, ty - kChannel); yy <= std::min(h - 1, ty + kChannel); ++yy) {
                    for (int xx = std::max(0, tx - kChannel); xx <= std::min(w - 1, tx + kChannel); ++xx) {
                        if ((xx - tx) * (xx - tx) + (yy - ty) * (yy - ty) > kChannel * kChannel) continue;
                        const std::size_t u = at(w, xx, yy);
                        const int owner = regions.id[u];
                        if (owner < 0 || owner == target || owner == static_cast<int>(region)) labels.label[u] = colour;
                    }
                }
            }
            ++joined;
        }
        merged += joined;
        if (joined == 0) break;
    }
    return merged;
}

}  // namespace

bool sceneFromName(const std::string& name, Scene* scene) {
    if (name == "none") *scene = Scene::None;
    else if (name == "meadow") *scene = Scene::Meadow;
    else if (name == "sea") *scene = Scene::Sea;
    else if (name == "pond") *scene = Scene::Pond;
    else return false;
    return true;
}

Labels labelDrawing(const QByteArray& svg, int width, int height, int margin, Scene scene, std::string* error) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        if (error) *error = "not a drawing the SVG renderer can read";
        return {};
    }
    const QRectF content = contentBox(renderer);
    if (content.isEmpty()) {
        if (error) *error = "the drawing is empty";
        return {};
    }
    // The animal's room: a scene keeps the sky above it free for the sun and
    // the clouds, and sets it on the grass or in the water.
    QRectF space(margin, margin, width - 2.0 * margin, height - 2.0 * margin);
    double down = 0.5;
    switch (scene) {
        case Scene::None:
            break;
        case Scene::Meadow:
            space.adjust(10, 140, -10, -45);
            down = 1.0;
            break;
        case Scene::Sea:
            space.adjust(20, 240, -20, -30);
            break;
        case Scene::Pond:
            space.adjust(10, 150, -10, -150);
            down = 1.0;
            break;
    }
    const QRectF bounds = placeIn(renderer, content, space, down);

    std::vector<QRgb> colours = fillColours(svg);
    if (scene != Scene::None) {
        std::set<QRgb> all(colours.begin(), colours.end());
        all.insert({kGrass, kSun, kCloud, kWater, kSand, kLeaf});
        colours.assign(all.begin(), all.end());
    }
    Labels labels{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height),
                  std::move(colours)};
    if (labels.fills.size() > std::numeric_limits<std::uint8_t>::max() - kFirstFill) {
        if (error) *error = "too many colours";
        return {};
    }

    // The animal alone first, so its loose stroke ends are told from those on its outline.
    QImage layer(width, height, QImage::Format_ARGB32_Premultiplied);
    std::vector<StrokeEnd> ends;
    if (!renderAliased(renderer, layer, bounds, kStrokeScale, &ends)) {
        if (error) *error = "the drawing uses clipping, which the line art does not follow";
        return {};
    }
    labelImage(layer, labels);
    labels.loose = joinLooseEnds(layer, labels, ends, &labels.extended);

    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (labels.label[at(width, x, y)] == kBackground) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    const QRect animal(QPoint(left, top), QPoint(right, bottom));
    labels.animal = animal;

    if (scene != Scene::None) {
        const double line = 2 * kStrokeScale * bounds.width() / renderer.viewBoxF().width();
        QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(blackPen(line));
        for (const Shape& shape : sceneShapes(scene, layer, animal, line, margin)) {
            painter.setBrush(QColor::fromRgb(shape.colour));
            painter.drawPath(shape.path);
        }
        painter.drawImage(0, 0, layer);
        painter.end();
        labelImage(picture, labels);
    }
    labels.merged = mergeTinyPatches(labels);
    return labels;
}

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

// The black pixels inside some all-black square of side k.
std::vector<std::uint8_t> inSquares(const std::vector<std::uint8_t>& white, int w, int h, int k) {
    std::vector<int> run(white.size(), 0);
    for (int y = 0; y < h; ++y) {
        int length = 0;
        for (int x = w - 1; x >= 0; --x) {
            length = white[at(w, x, y)] ? 0 : length + 1;
            run[at(w, x, y)] = length;
        }
    }
    // Squares by their top-left pixel, then spread over the pixels they cover.
    std::vector<std::uint8_t> square(white.size(), 0), covered(white.size(), 0);
    for (int x = 0; x < w; ++x) {
        int down = 0;
        for (int y = h - 1; y >= 0; --y) {
            down = run[at(w, x, y)] >= k ? down + 1 : 0;
            square[at(w, x, y)] = down >= k ? 1 : 0;
        }
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!square[at(w, x, y)]) continue;
            for (int yy = y; yy < std::min(h, y + k); ++yy) {
                for (int xx = x; xx < std::min(w, x + k); ++xx) covered[at(w, xx, yy)] = 1;
            }
        }
    }
    return covered;
}

// For every pixel the nearest white one (-1 if there is none), by two raster
// sweeps that hand each pixel's nearest on to its neighbours: close to exact.
std::vector<int> nearestWhite(const std::vector<std::uint8_t>& white, int w, int h) {
    std::vector<int> source(white.size(), -1);
    for (std::size_t p = 0; p < white.size(); ++p) {
        if (white[p]) source[p] = static_cast<int>(p);
    }
    const auto far = [&](int p, int s) {
        if (s < 0) return std::numeric_limits<int>::max();
        const int dx = p % w - s % w, dy = p / w - s / w;
        return dx * dx + dy * dy;
    };
    const auto take = [&](int p, int q) {
        if (source[q] >= 0 && far(p, source[q]) < far(p, source[p])) source[p] = source[q];
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int p = static_cast<int>(at(w, x, y));
            if (x > 0) take(p, p - 1);
            if (y > 0) {
                take(p, p - w);
                if (x > 0) take(p, p - w - 1);
                if (x + 1 < w) take(p, p - w + 1);
            }
        }
        for (int x = w - 2; x >= 0; --x) take(static_cast<int>(at(w, x, y)), static_cast<int>(at(w, x + 1, y)));
    }
    for (int y = h - 1; y >= 0; --y) {
        for (int x = w - 1; x >= 0; --x) {
            const int p = static_cast<int>(at(w, x, y));
            if (x + 1 < w) take(p, p + 1);
            if (y + 1 < h) {
                take(p, p + w);
                if (x + 1 < w) take(p, p + w + 1);
                if (x > 0) take(p, p + w - 1);
            }
        }
        for (int x = 1; x < w; ++x) take(static_cast<int>(at(w, x, y)), static_cast<int>(at(w, x - 1, y)));
    }
    return source;
}

// Black at least this far from white all round is a blob of the drawing's own
// (an eye, a spot), kept whatever lies around it.
constexpr int kBlobReach = 9;

// A dot or a short dash standing alone in an area: its box is no larger than
// this square and at least half black.
constexpr int kDotBox = 120;

// Cuts away the lines that part nothing: each black pixel belongs to the area
// of the white nearest to it, and only black within a line's half-width of
// where two areas' black meet is kept (with the page's own black, blobs and
// lone dots). What a stroke left loose inside an area, or a line running
// from an area back into itself, turns white; the lines between areas and
// around the animal stay as they were. Returns the pixels made white.
int pruneLoose(std::vector<std::uint8_t>& white, int w, int h) {
    std::vector<int> key(white.size(), -1);
    for (std::size_t p = 0; p < white.size(); ++p) {
        if (white[p]) key[p] = 0;
    }
    std::vector<int> sizes, firsts;
    const std::vector<int> area = components(key, w, h, sizes, firsts);
    const int page = area[0];
    const std::vector<int> source = nearestWhite(white, w, h);
    std::vector<int> owner(white.size(), -1);
    for (std::size_t p = 0; p < white.size(); ++p) {
        if (source[p] >= 0) owner[p] = area[source[p]];
    }
    std::vector<std::uint8_t> keep(white.size(), 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int p = static_cast<int>(at(w, x, y));
            if (white[p] || source[p] < 0) continue;
            const int dx = x - source[p] % w, dy = y - source[p] / w;
            const int reach2 = dx * dx + dy * dy;
            bool seed = owner[p] == page || reach2 >= kBlobReach * kBlobReach;
            if (x > 0 && owner[p - 1] != owner[p]) seed = true;
            if (x + 1 < w && owner[p + 1] != owner[p]) seed = true;
            if (y > 0 && owner[p - w] != owner[p]) seed = true;
            if (y + 1 < h && owner[p + w] != owner[p]) seed = true;
            if (!seed) continue;
            // The disc reaching to the nearest white covers the line across.
            const int reach = static_cast<int>(std::sqrt(static_cast<double>(reach2)));
            for (int yy = std::max(0, y - reach); yy <= std::min(h - 1, y + reach); ++yy) {
                for (int xx = std::max(0, x - reach); xx <= std::min(w - 1, x + reach); ++xx) {
                    if ((xx - x) * (xx - x) + (yy - y) * (yy - y) <= reach2) keep[at(w, xx, yy)] = 1;
                }
            }
        }
    }
    // Lone dots stay whole; everything else not kept goes white.
    std::vector<int> piece(white.size(), -1);
    std::vector<int> stack, members;
    int pruned = 0;
    for (int start = 0; start < w * h; ++start) {
        if (white[start] || piece[start] >= 0) continue;
        members.clear();
        bool anchored = false;
        int left = w, right = -1, top = h, bottom = -1;
        piece[start] = start;
        stack.push_back(start);
        while (!stack.empty()) {
            const int p = stack.back();
            stack.pop_back();
            members.push_back(p);
            if (keep[p]) anchored = true;
            const int x = p % w, y = p / w;
            left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
            for (int yy = std::max(0, y - 1); yy <= std::min(h - 1, y + 1); ++yy) {
                for (int xx = std::max(0, x - 1); xx <= std::min(w - 1, x + 1); ++xx) {
                    const int q = static_cast<int>(at(w, xx, yy));
                    if (!white[q] && piece[q] < 0) {
                        piece[q] = start;
                        stack.push_back(q);
                    }
                }
            }
        }
        const int boxWidth = right - left + 1, boxHeight = bottom - top + 1;
        const bool dot = !anchored && boxWidth <= kDotBox && boxHeight <= kDotBox &&
                         2 * static_cast<int>(members.size()) >= boxWidth * boxHeight;
        if (dot) continue;
        for (int p : members) {
            if (keep[p]) continue;
            white[p] = 1;
            ++pruned;
        }
    }
    // Where a stroke was cut back across, a sliver thinner than a line is
    // left on the line it came from: it goes too, pixel by pixel from the
    // white of its one area, before evenLines could square it into a knob.
    for (int sweep = 0; sweep < kLineWidth && pruned; ++sweep) {
        const std::vector<std::uint8_t> thick = inSquares(white, w, h, kLineWidth);
        int thinned = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int p = static_cast<int>(at(w, x, y));
                if (white[p] || thick[p]) continue;
                int seen = -1;
                bool oneArea = true;
                for (int yy = std::max(0, y - 1); yy <= std::min(h - 1, y + 1); ++yy) {
                    for (int xx = std::max(0, x - 1); xx <= std::min(w - 1, x + 1); ++xx) {
                        const int q = static_cast<int>(at(w, xx, yy));
                        if (!white[q]) continue;
                        // Pixels made white here belong to the area of the white they touched.
                        const int a = area[q] >= 0 ? area[q] : owner[q];
                        if (seen >= 0 && a != seen) oneArea = false;
                        seen = a;
                    }
                }
                if (seen < 0 || !oneArea) continue;
                white[p] = 1;
                owner[p] = seen;
                ++thinned;
            }
        }
        pruned += thinned;
        if (!thinned) break;
    }
    return pruned;
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
    const int pruned = pruneLoose(white, w, h);
    if (report) report->pruned = pruned;
    // Where a stroke was cut back, the line it left may have a stair step or a thin edge.
    if (pruned) evenLines(white, w, h);
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
