#include "canvas/CanvasAids.h"

#include <QAbstractButton>
#include <QPainter>
#include <QPaintEvent>

namespace canvas {

using platform::Bounds;

namespace {

class RoundButtonWidget : public QAbstractButton {
public:
    RoundButtonWidget(QWidget* parent, QPixmap picture) : QAbstractButton(parent), picture_(std::move(picture)) {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_Hover);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF face = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
        const QColor light = isDown() ? QColor(210, 225, 255) : underMouse() ? QColor(255, 255, 235) : QColor(255, 255, 210);
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.setBrush(light);
        p.drawEllipse(face);
        const QPointF offset = isDown() ? QPointF(1, 1) : QPointF(0, 0);
        p.drawPixmap(QPointF((width() - picture_.width()) / 2.0, (height() - picture_.height()) / 2.0) + offset, picture_);
    }
    bool hitButton(const QPoint& pos) const override {
        const QPointF d = QPointF(pos) - QRectF(rect()).center();
        const double r = std::min(width(), height()) / 2.0;
        return d.x() * d.x() + d.y() * d.y() <= r * r;
    }

private:
    QPixmap picture_;
};

class FrameWidget : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const int t = ChoiceFrame::kThickness;
        // White on the outside, black within: one of the two stands out on any colour.
        // The middle is left unpainted, so what is framed shows through.
        p.setClipRegion(QRegion(rect()).subtracted(QRegion(rect().adjusted(t, t, -t, -t))));
        p.fillRect(rect(), Qt::white);
        p.fillRect(rect().adjusted(1, 1, -1, -1), Qt::black);
    }
};

}  // namespace

RoundButton::RoundButton(const platform::ControlContext& c, const RoundButtonDesign& d)
    : Control(new RoundButtonWidget(c.parent, d.picture), c.name) {
    auto* button = static_cast<QAbstractButton*>(widget());
    if (!d.toolTip.empty()) setToolTip(d.toolTip);
    button->setGeometry(d.bounds.left, d.bounds.top, d.bounds.width, d.bounds.height);
    button->setVisible(true);
    QObject::connect(button, &QAbstractButton::clicked, button, [this] {
        if (Click) Click();
    });
}

void RoundButton::click() {
    auto* button = static_cast<QAbstractButton*>(widget());
    if (button->isEnabled()) button->click();
}

ChoiceFrame::ChoiceFrame(const platform::ControlContext& c, const ChoiceFrameDesign& d)
    : Control(new FrameWidget(c.parent), c.name) {
    widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    widget()->setVisible(d.visible);
}

void ChoiceFrame::surround(const Bounds& target, int outset) {
    framed_ = target;
    setBounds({target.left - outset, target.top - outset, target.width + 2 * outset, target.height + 2 * outset});
    widget()->raise();
    setVisible(true);
    widget()->update();
}

void ChoiceFrame::remove() {
    framed_.reset();
    setVisible(false);
}

}  // namespace canvas
