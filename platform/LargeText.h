#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

namespace platform {

// Text too large for the font engine's glyph cache (the welcome title), drawn
// once as its coverage and from then on only tinted: a recolour costs one pass
// over the box the text has ink in.
class LargeText {
public:
    // Glyphs larger than this many pixels miss the font engine's cache and are
    // drawn from their outlines, hinting and all, on every paint.
    static constexpr int kLargestCachedGlyph = 64;
    static bool isLarge(int fontPixels, qreal scale) { return fontPixels * scale > kLargestCachedGlyph; }

    // Draws the text in its colour into area, at the device's scale (at least
    // 1). Given an opaque background it paints every pixel of the area, the
    // background too.
    void draw(QPainter& painter, const QRect& area, qreal scale, const QString& text, const QFont& font,
              Qt::Alignment alignment, const QColor& colour, const QColor& background);

    // Where the text has ink, in the painter's coordinates of the last draw;
    // null before the first. Text not yet seen is laid out for it.
    const QRect& ink();

private:
    void prepare();  // the coverage and the ink's box for wanted_
    void tint(const QColor& colour, const QColor& background);

    // What the coverage was drawn for.
    struct Key {
        QString text;
        QFont font;
        QSize size;
        qreal scale = 0;
        Qt::Alignment alignment;
        bool operator==(const Key&) const = default;
    };
    Key key_;     // what coverage_ holds
    Key wanted_;  // what the last draw asked for
    QRect area_;  // where it drew
    QImage coverage_, tinted_;
    QColor tintedIn_, tintedOver_;  // the colours tinted_ holds
    QRect ink_;                     // in the painter's coordinates
    QRect inkPixels_;               // the same in the coverage's pixels
};

}  // namespace platform
