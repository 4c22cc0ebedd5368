#pragma once
#include <QWidget>
#include <functional>

#include "platform/Control.h"

class QLabel;
class QToolButton;

namespace platform {

// The widget of a loaded window: an optional title bar with the window's title
// and a close box, around the client area on which the controls stand.
class FormFrame : public QWidget {
public:
    static constexpr int kTitleHeight = 30;
    static constexpr int kBorder = 3;

    FormFrame(const QString& title, bool titleBar, int clientWidth, int clientHeight);
    QWidget* client() const { return client_; }
    QSize frameSize() const;
    bool hasTitleBar() const { return titleBar_ != nullptr; }
    QToolButton* closeBox() const { return closeBox_; }

    std::function<void(const MouseArgs&)> clientMouseDown;
    std::function<void()> closePressed;
    // Moves the keyboard to the next (or previous) control of the window, round
    // and round; false when no control takes it.
    std::function<bool(bool next)> moveFocus;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    bool focusNextPrevChild(bool next) override;

private:
    QWidget* client_;
    QWidget* titleBar_ = nullptr;
    QLabel* titleText_ = nullptr;
    QToolButton* closeBox_ = nullptr;
    QPointF dragStart_;
    bool dragging_ = false;
};

}  // namespace platform
