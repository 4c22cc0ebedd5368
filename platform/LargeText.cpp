#include "platform/LargeText.h"

#include <QPainter>
#include <algorithm>
#include <array>

#include "platform/Controls.h"

namespace platform {

namespace {

// The box of every pixel of the coverage that the text touches.
QRect inkPixels(const QImage& coverage) {
    const int width = coverage.width();
    int left = width, right = -1, top = -1, bottom = -1;
    for (int y = 0; y < coverage.height(); ++y) {
        const uchar* row = coverage.constScanLine(y);
        int first = 0;
        while (first < width && row[first] == 0) ++first;
        if (first == width) continue;
        int last = width - 1;
        while (row[last] == 0) --last;
        left = std::min(left, first);
        right = std::max(right, last);
        if (top < 0) top = y;
        bottom = y;
    }
    return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

int mix(int from, int to, int alpha) { return from + (to - from) * alpha / 255; }

}  // namespace

void LargeText::draw(QPainter& painter, const QRect& area, qreal scale, const QString& text, const QFont& font,
                     Qt::Alignment alignment, const QColor& colour, const QColor& background) {
    wanted_ = {text, font, area.size(), scale, alignment};
    area_ = area;
    // Text in the colour of its own opaque background cannot be seen (the
    // welcome title starts so): its outlines wait until they are asked for.
    if (background.alpha() == 255 && colour.rgb() == background.rgb()) return painter.fillRect(area, background);
    prepare();
    const QColor over = background.alpha() == 255 ? background : QColor(Qt::transparent);
    if (tintedIn_ != colour || tintedOver_ != over || tinted_.size() != coverage_.size()) tint(colour, over);
    // Scaled, the image's whole pixels may fall short of the area's edge.
    if (over.alpha() == 255 && painter.deviceTransform().isScaling()) painter.fillRect(area, over);
    painter.drawImage(area.topLeft(), tinted_);
}

const QRect& LargeText::ink() {
    if (wanted_.scale > 0) prepare();
    return ink_;
}

void LargeText::prepare() {
    // Compared field by field: this runs on every recolour.
    if (!(wanted_ == key_)) {
        const qreal scale = wanted_.scale;
        coverage_ = QImage(QSizeF(wanted_.size * scale).toSize(), QImage::Format_Alpha8);
        coverage_.setDevicePixelRatio(scale);
        coverage_.fill(Qt::transparent);
        QPainter ink(&coverage_);
        ink.setFont(wanted_.font);
        ink.setPen(Qt::black);
        drawWrappedText(ink, QRect(QPoint(0, 0), wanted_.size), wanted_.text, wanted_.alignment);
        key_ = wanted_;
        inkPixels_ = inkPixels(coverage_);
        tinted_ = QImage();  // drawn anew in any colour
    }
    const QRect& pixels = inkPixels_;
    const qreal scale = key_.scale;
    ink_ = pixels.isNull() ? QRect()
                           : QRectF(pixels.x() / scale, pixels.y() / scale, pixels.width() / scale,
                                    pixels.height() / scale)
                                 .toAlignedRect()
                                 .adjusted(-1, -1, 1, 1)
                                 .translated(area_.topLeft());
}

// The coverage in the text's colour, over the background when it has one, by
// hand rather than by a composition fill, which Qt splits across threads for a
// box this tall and would wake them on every recolour. Only the pixels within
// the ink's box are touched.
void LargeText::tint(const QColor& colour, const QColor& background) {
    if (tinted_.size() != coverage_.size() || tintedOver_ != background) {
        // Opaque, in the screen's own format: drawing it is a plain copy.
        const bool opaque = background.alpha() == 255;
        tinted_ = QImage(coverage_.size(), opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
        tinted_.fill(background);
    }
    tinted_.setDevicePixelRatio(coverage_.devicePixelRatio());
    const QRgb to = colour.rgb();
    const QRgb from = background.rgba();  // premultiplied: transparent or opaque
    std::array<QRgb, 256> shade{};        // the pixel at each coverage
    for (int alpha = 0; alpha < 256; ++alpha) {
        shade[static_cast<std::size_t>(alpha)] =
            qRgba(mix(qRed(from), qRed(to), alpha), mix(qGreen(from), qGreen(to), alpha),
                  mix(qBlue(from), qBlue(to), alpha), mix(qAlpha(from), 255, alpha));
    }
    for (int y = inkPixels_.top(); y <= inkPixels_.bottom(); ++y) {
        const uchar* cover = coverage_.constScanLine(y);
        auto* pixel = reinterpret_cast<QRgb*>(tinted_.scanLine(y));
        for (int x = inkPixels_.left(); x <= inkPixels_.right(); ++x) pixel[x] = shade[cover[x]];
    }
    tintedIn_ = colour;
    tintedOver_ = background;
}

}  // namespace platform
