#include "tools/PicturePage.h"

#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace page {

namespace {

// What the drawing shows, in viewBox units: not the whole box, which has blank edges.
QRectF contentBox(QSvgRenderer& renderer) {
    const QRectF box = renderer.viewBoxF();
    // Found on a render at a fixed scale, so the result never depends on the target size.
    constexpr double kProbeScale = 16.0;
    QImage probe(qRound(box.width() * kProbeScale), qRound(box.height() * kProbeScale),
                 QImage::Format_ARGB32_Premultiplied);
    probe.fill(Qt::transparent);
    {
        QPainter painter(&probe);
        renderer.render(&painter);
    }
    int left = probe.width(), top = probe.height(), right = -1, bottom = -1;
    for (int y = 0; y < probe.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(probe.constScanLine(y));
        for (int x = 0; x < probe.width(); ++x) {
            if (qAlpha(row[x]) < 128) continue;
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

// The scene's colours; one the drawing happens to use is moved off it, so the
// scene never runs into the animal.
constexpr QRgb kGrass = 0xFF8FD46Cu;
constexpr QRgb kFarHill = 0xFFB9E3A0u;
constexpr QRgb kPetals = 0xFFF5A3C7u;
constexpr QRgb kSun = 0xFFFFE35Au;
constexpr QRgb kCloud = 0xFFDCEEFAu;
constexpr QRgb kWater = 0xFF7DC6EFu;
constexpr QRgb kSand = 0xFFF2DCA4u;
constexpr QRgb kLeaf = 0xFF5BB04Du;

// How the scene leaves room for the animal inside the margin: from the top,
// from the bottom, and how far down it sits in the room left (0.5 centres).
struct Room {
    double top, bottom, down;
};
Room roomFor(Scene scene) {
    switch (scene) {
        case Scene::None:
            break;
        case Scene::Meadow:
            return {40, 40, 1.0};  // standing in the grass, the sun and clouds where the sky is free
        case Scene::Sea:
            return {130, 10, 0.5};  // under the waves
        case Scene::Pond:
            return {150, 130, 1.0};  // sitting in the water, lily pads in front
    }
    return {0, 0, 0.5};
}
constexpr double kSurface = 100;  // the sea's waves below the top margin
constexpr double kGround = 150;   // the meadow's height at its foot

struct Shape {
    QPainterPath path;
    QRgb colour;
};

// A hill across the foot of the page.
QPainterPath hill(double left, double right, double top, double bottom) {
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

// Five round petals about a centre that is a shape of its own.
QPainterPath petals(QPointF centre) {
    QPainterPath path;
    for (int i = 0; i < 5; ++i) {
        const double angle = 2 * 3.14159265358979 * i / 5;
        path.addEllipse(centre + 26 * QPointF(std::sin(angle), -std::cos(angle)), 20, 20);
    }
    path.setFillRule(Qt::WindingFill);
    return path.simplified().subtracted(circle(centre, 18));
}

// The scene around the animal drawn on `layer`: the ground or the water first,
// then the sun, clouds, bubbles and pads wherever their boxes keep clear of
// the animal and of each other by a gap as wide as two lines.
std::vector<Shape> sceneShapes(Scene scene, const QImage& layer, const QRect& animal) {
    const double w = layer.width(), h = layer.height();
    const double left = kMargin, right = w - kMargin, top = kMargin, bottom = h - kMargin;
    constexpr double kGap = 20;
    std::vector<Shape> shapes;
    std::vector<QRectF> taken;
    const auto fits = [&](const QPainterPath& path) {
        const QRectF box = path.boundingRect().adjusted(-kGap, -kGap, kGap, kGap);
        if (box.left() < left || box.right() > right || box.top() < top || box.bottom() > bottom) return false;
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
    // Places the first candidate that fits; which one, or -1.
    const auto place = [&](const std::vector<QPainterPath>& candidates, QRgb colour) {
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (!fits(candidates[i])) continue;
            shapes.push_back({candidates[i], colour});
            taken.push_back(candidates[i].boundingRect());
            return static_cast<int>(i);
        }
        return -1;
    };
    constexpr double kSunRadius = 50;
    const std::vector<QPainterPath> suns = {circle({right - kGap - kSunRadius, top + kGap + kSunRadius}, kSunRadius),
                                            circle({left + kGap + kSunRadius, top + kGap + kSunRadius}, kSunRadius)};
    const std::vector<QPainterPath> clouds = {
        cloud({left + kGap, top + kGap}), cloud({w / 2 - 92, top + kGap}), cloud({right - kGap - 184, top + kGap}),
        cloud({left + kGap, top + kGap + 110}), cloud({right - kGap - 184, top + kGap + 110})};
    switch (scene) {
        case Scene::None:
            break;
        case Scene::Meadow: {
            QPainterPath far;
            far.moveTo(left, bottom);
            far.lineTo(left, bottom - kGround - 40);
            far.cubicTo(left + (right - left) * 0.35, bottom - kGround - 110, left + (right - left) * 0.7,
                        bottom - kGround - 10, right, bottom - kGround - 70);
            far.lineTo(right, bottom);
            far.closeSubpath();
            shapes.push_back({far, kFarHill});
            shapes.push_back({hill(left, right, bottom - kGround, bottom), kGrass});
            place(suns, kSun);
            for (int i = 0; i < 3; ++i) place(clouds, kCloud);
            std::vector<QPointF> centres;
            std::vector<QPainterPath> flowers;
            for (double x = left + kGap + 50; x <= right - kGap - 50; x += 25) {
                centres.emplace_back(x, bottom - 70);
                flowers.push_back(petals(centres.back()));
            }
            for (int i = 0; i < 2; ++i) {
                const int at = place(flowers, kPetals);
                if (at >= 0) shapes.push_back({circle(centres[static_cast<std::size_t>(at)], 18), kSun});
            }
            break;
        }
        case Scene::Sea: {
            const double surface = top + kSurface;
            shapes.push_back({water(left, right, surface, bottom), kWater});
            shapes.push_back({hill(left, right, bottom - 70, bottom), kSand});
            taken.push_back(QRectF(left, surface - 20, right - left, 40));
            taken.push_back(QRectF(left, bottom - 110, right - left, 110));
            place(suns, kSun);
            for (int i = 0; i < 2; ++i) place(clouds, kCloud);
            std::vector<QPainterPath> bubbles;
            for (int row = 0; row < 8; ++row) {
                for (int column = 0; column < 2; ++column) {
                    const double x = column == 0 ? right - kGap - 30 - row % 2 * 20 : left + kGap + 30 + row % 2 * 20;
                    bubbles.push_back(circle({x, surface + 60 + row * 80}, 26));
                }
            }
            for (int i = 0; i < 5; ++i) place(bubbles, kCloud);
            break;
        }
        case Scene::Pond: {
            const double surface = animal.bottom() - animal.height() * 0.3;
            shapes.push_back({water(left, right, surface, bottom), kWater});
            taken.push_back(QRectF(left, surface - 20, right - left, 40));
            place(suns, kSun);
            for (int i = 0; i < 3; ++i) place(clouds, kCloud);
            std::vector<QPainterPath> pads;
            for (const double x : {left + kGap, right - kGap - 200, w / 2 - 100}) {
                QPainterPath leaf;
                leaf.addEllipse(QRectF(x, bottom - kGap - 90, 200, 80));
                pads.push_back(leaf);
            }
            for (int i = 0; i < 3; ++i) place(pads, kLeaf);
            break;
        }
    }
    return shapes;
}

// `colour`, moved off every colour in `used`.
QRgb apart(QRgb colour, const std::set<QRgb>& used) {
    while (used.count(colour)) colour ^= 1;  // the lowest bit of blue
    return colour;
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

std::optional<Page> layOut(const QByteArray& svg, Scene scene, std::string* error) {
    QSvgRenderer renderer(svg);
    const QRectF content = renderer.isValid() ? contentBox(renderer) : QRectF();
    if (content.isEmpty()) {
        if (error) *error = renderer.isValid() ? "the drawing is empty" : "not a drawing the SVG renderer can read";
        return std::nullopt;
    }
    const Room room = roomFor(scene);
    const QRectF space(kMargin, kMargin + room.top, kWidth - 2.0 * kMargin,
                       kHeight - 2.0 * kMargin - room.top - room.bottom);
    QImage layer(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter painter(&layer);
        renderer.render(&painter, placeIn(renderer, content, space, room.down));
    }
    int left = kWidth, top = kHeight, right = -1, bottom = -1;
    std::set<QRgb> used;
    for (int y = 0; y < kHeight; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            if (qAlpha(row[x]) == 0) continue;
            used.insert(row[x]);
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    Page page{QImage(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied), QRect(QPoint(left, top), QPoint(right, bottom))};
    page.colours.fill(Qt::transparent);
    QPainter painter(&page.colours);
    painter.setPen(Qt::NoPen);
    for (const Shape& shape : sceneShapes(scene, layer, page.animal)) {
        painter.setBrush(QColor::fromRgb(apart(shape.colour, used)));
        painter.drawPath(shape.path);
    }
    painter.drawImage(0, 0, layer);
    return page;
}

bool paintDrawing(QPainter& painter, const QByteArray& svg, const QRectF& target) {
    QSvgRenderer renderer(svg);
    const QRectF content = renderer.isValid() ? contentBox(renderer) : QRectF();
    if (content.isEmpty()) return false;
    renderer.render(&painter, placeIn(renderer, content, target, 0.5));
    return true;
}

}  // namespace page
