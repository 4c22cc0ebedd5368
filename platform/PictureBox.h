#pragma once
#include <functional>

#include "platform/Control.h"
#include "platform/core/PixelBuffer.h"

class QPixmap;

namespace platform {

struct PictureDesign {
    Bounds bounds;  // outer place and size, border included
    ColourNumber backColour = kDefaultControlColour;
    bool border = true;
    bool visible = true;
    std::string toolTip;
};

class PixelView;

// A picture box: a border around a drawing area of pixels that keeps what is
// drawn on it. The pixels live in a plain buffer; the widget only shows it and
// repaints what changed.
class PictureBox : public Control {
public:
    static constexpr int kBorder = 2;

    PictureBox(const ControlContext& context, const PictureDesign& design);

    // Drawing area in pixels, (0, 0) at its top-left pixel.
    ColourNumber pixel(int x, int y) const { return pixels_.pixel(x, y); }
    void setPixel(int x, int y, ColourNumber colour);
    // Clears the drawing area to the background colour.
    void clear();
    int drawableWidth() const { return pixels_.width(); }
    int drawableHeight() const { return pixels_.height(); }

    // Outer size, border included, in pixels and in twips.
    void setBounds(const Bounds& bounds) override;
    void setOuterSize(int width, int height);
    int outerWidthTwips() const { return width() * kTwipsPerPixel; }
    int outerHeightTwips() const { return height() * kTwipsPerPixel; }
    void setOuterSizeTwips(int widthTwips, int heightTwips);

    // Setting the background colour clears the drawing area to it.
    ColourNumber backColour() const { return backColour_; }
    void setBackColour(ColourNumber colour);

    // Direct access for bulk pixel work; call changed() with the area touched.
    PixelBuffer& pixels() { return pixels_; }
    const PixelBuffer& pixels() const { return pixels_; }
    void changed(const PixelRect& area);
    // After work on the whole picture.
    void changedAll() { changed({0, 0, drawableWidth(), drawableHeight()}); }

    // The mouse pointer over the box: a picture drawn by us, the same on every
    // desktop, and the pixel of it that points.
    void setCursor(const QPixmap& picture, int hotX, int hotY);

    std::function<void()> Click;
    std::function<void(const MouseArgs&)> MouseDown;
    std::function<void(const MouseArgs&)> MouseMove;
    std::function<void(const MouseArgs&)> MouseUp;
    // The pixels were changed (told through setPixel, clear or changed).
    std::function<void()> Change;

private:
    void told() {
        if (Change) Change();
    }
    int border() const { return border_ ? kBorder : 0; }
    PixelView* view_;
    PixelBuffer pixels_;
    ColourNumber backColour_;
    bool border_;
};

}  // namespace platform
