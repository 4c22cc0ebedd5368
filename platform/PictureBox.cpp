#include "platform/PictureBox.h"

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <cmath>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace platform {

class PixelView : public QWidget {
public:
    PixelView(QWidget* parent, PictureBox& box) : QWidget(parent), box_(box) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_StaticContents);
        setMouseTracking(true);
    }
    int border = 0;
    bool pressed = false;

    // Pixel work may touch a few pixels at a time; the changes are gathered into
    // one rectangle and repainted once when the handler has returned.
    void repaintPixels(const PixelRect& r) {
        if (r.empty()) return;
        const bool scheduled = !pending_.empty();
        pending_ = pending_.united(r);
        if (scheduled) return;
        QMetaObject::invokeMethod(
            this,
            [this] {
                update(pending_.x + border, pending_.y + border, pending_.width, pending_.height);
                pending_ = {};
            },
            Qt::QueuedConnection);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        const PixelBuffer& px = box_.pixels();
        if (border > 0) {
            // A sunken frame: dark on top and left, light on the other sides.
            p.fillRect(rect(), QColor(160, 160, 160));
            p.fillRect(QRect(border, height() - border, width(), border), QColor(255, 255, 255));
            p.fillRect(QRect(width() - border, border, border, height()), QColor(255, 255, 255));
        }
        const QImage image(reinterpret_cast<const uchar*>(px.data()), px.width(), px.height(),
                           px.width() * 4, QImage::Format_RGBX8888);
        const QRect target = event->rect().intersected(QRect(border, border, px.width(), px.height()));
        if (!target.isEmpty()) p.drawImage(target, image, target.translated(-border, -border));
    }
    void mousePressEvent(QMouseEvent* e) override {
        pressed = true;
        if (box_.MouseDown) box_.MouseDown(pixelArgs(*e));
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (box_.MouseMove) box_.MouseMove(pixelArgs(*e));
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (box_.MouseUp) box_.MouseUp(pixelArgs(*e));
        if (pressed && rect().contains(e->position().toPoint()) && box_.Click) box_.Click();
        pressed = false;
    }

private:
    // A picture box counts in whole pixels: the pixel under the pointer, also
    // when the stage is scaled and the pointer sits between two.
    MouseArgs pixelArgs(const QMouseEvent& e) const {
        MouseArgs args = mouseArgs(e, border, border);
        args.x = std::floor(args.x);
        args.y = std::floor(args.y);
        return args;
    }

    PictureBox& box_;
    PixelRect pending_;
};

PictureBox::PictureBox(const ControlContext& c, const PictureDesign& d)
    : Control(nullptr, c.name), backColour_(d.backColour), border_(d.border) {
    view_ = new PixelView(c.parent, *this);
    view_->border = border();
    adopt(view_);
    if (!d.toolTip.empty()) setToolTip(d.toolTip);
    setBounds(d.bounds);
    pixels_.fill(backColour_);
    view_->setVisible(d.visible);
}

void PictureBox::setPixel(int x, int y, ColourNumber colour) {
    if (!pixels_.contains(x, y)) return;
    pixels_.setPixel(x, y, colour);
    view_->repaintPixels({x, y, 1, 1});
    told();
}

void PictureBox::clear() {
    pixels_.fill(backColour_);
    view_->update();
    told();
}

void PictureBox::setBounds(const Bounds& b) {
    Control::setBounds(b);
    const int inner = 2 * border();
    pixels_.resize(std::max(0, b.width - inner), std::max(0, b.height - inner), backColour_);
    view_->update();
}

void PictureBox::setOuterSize(int width, int height) { setBounds({left(), top(), width, height}); }

void PictureBox::setOuterSizeTwips(int widthTwips, int heightTwips) {
    setOuterSize(twipsToPixels(widthTwips), twipsToPixels(heightTwips));
}

void PictureBox::setBackColour(ColourNumber colour) {
    backColour_ = colour;
    clear();
}

void PictureBox::changed(const PixelRect& area) {
    view_->repaintPixels(area);
    told();
}

void PictureBox::setCursor(const QPixmap& picture, int hotX, int hotY) { view_->setCursor(QCursor(picture, hotX, hotY)); }

}  // namespace platform
