#include "platform/FormFrame.h"

#include <QKeyEvent>

#include <QGraphicsProxyWidget>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

namespace platform {

namespace {

// The client area: where the controls stand; presses on its free spots are the window's.
class ClientSurface : public QWidget {
public:
    explicit ClientSurface(QWidget* parent, FormFrame& frame) : QWidget(parent), frame_(frame) {}

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (frame_.clientMouseDown) frame_.clientMouseDown(mouseArgs(*e));
    }

private:
    FormFrame& frame_;
};

}  // namespace

FormFrame::FormFrame(const QString& title, bool titleBar, int clientWidth, int clientHeight) {
    setObjectName("frame");
    client_ = new ClientSurface(this, *this);
    client_->setObjectName("client");
    if (titleBar) {
        titleBar_ = new QWidget(this);
        titleBar_->setAttribute(Qt::WA_TransparentForMouseEvents);
        titleBar_->setGeometry(kBorder, kBorder, clientWidth, kTitleHeight - kBorder);
        titleText_ = new QLabel(title, this);
        titleText_->setAttribute(Qt::WA_TransparentForMouseEvents);
        titleText_->setGeometry(kBorder + 8, kBorder, clientWidth - 48, kTitleHeight - kBorder);
        QFont f = toQFont({"Arial", 10, true});
        titleText_->setFont(f);
        QPalette p = titleText_->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        titleText_->setPalette(p);
        closeBox_ = new QToolButton(this);
        closeBox_->setObjectName("closeBox");
        closeBox_->setText(QString::fromUtf8("✕"));
        closeBox_->setToolTip(QString::fromUtf8("Закрыть"));
        closeBox_->setFocusPolicy(Qt::NoFocus);
        closeBox_->setGeometry(kBorder + clientWidth - 34, kBorder + 2, 32, kTitleHeight - kBorder - 4);
        QObject::connect(closeBox_, &QToolButton::clicked, this, [this] {
            if (closePressed) closePressed();
        });
        client_->setGeometry(kBorder, kTitleHeight, clientWidth, clientHeight);
    } else {
        client_->setGeometry(0, 0, clientWidth, clientHeight);
    }
    resize(frameSize());
    // Takes the keyboard from none of its controls: a click on the window's
    // background, a label or a shape leaves the keys where they were. While no
    // control has them, the window's keys come here (Esc, Tab).
    setFocusPolicy(Qt::NoFocus);
}

// Tab and Shift+Tab go round the window's own controls rather than on to the
// next window on the stage.
bool FormFrame::focusNextPrevChild(bool next) {
    if (moveFocus && moveFocus(next)) return true;
    return QWidget::focusNextPrevChild(next);
}

void FormFrame::keyPressEvent(QKeyEvent* event) {
    // Esc does what the close box does, on a window that has one.
    if (event->key() == Qt::Key_Escape && closeBox_ && closePressed) {
        closePressed();
        return;
    }
    QWidget::keyPressEvent(event);
}

QSize FormFrame::frameSize() const {
    const QSize c = client_->size();
    if (!titleBar_) return c;
    return {c.width() + 2 * kBorder, c.height() + kTitleHeight + kBorder};
}

void FormFrame::paintEvent(QPaintEvent*) {
    if (!titleBar_) return;
    QPainter p(this);
    p.fillRect(rect(), QColor(212, 208, 200));
    QLinearGradient g(0, 0, width(), 0);
    g.setColorAt(0, QColor(10, 36, 106));
    g.setColorAt(1, QColor(166, 202, 240));
    p.fillRect(QRect(kBorder, kBorder, width() - 2 * kBorder, kTitleHeight - kBorder), g);
}

// The title bar moves the window, as on a desktop.
void FormFrame::mousePressEvent(QMouseEvent* e) {
    if (titleBar_ && e->button() == Qt::LeftButton && e->position().y() < kTitleHeight) {
        dragging_ = true;
        dragStart_ = e->position();
    }
}

void FormFrame::mouseMoveEvent(QMouseEvent* e) {
    if (!dragging_) return;
    if (QGraphicsProxyWidget* proxy = graphicsProxyWidget()) proxy->moveBy(e->position().x() - dragStart_.x(), e->position().y() - dragStart_.y());
}

void FormFrame::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

}  // namespace platform
