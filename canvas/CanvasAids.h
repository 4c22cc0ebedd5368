#pragma once
// Controls of the canvas that the windows' designs did not have: the round undo
// button and the frame that shows the current choice.
#include <QPixmap>
#include <functional>
#include <optional>
#include <string>

#include "platform/Control.h"

namespace canvas {

struct RoundButtonDesign {
    platform::Bounds bounds;
    QPixmap picture;  // drawn in the middle of the face
    std::string toolTip;
};

// A small round button drawn by us; only a press inside its circle counts.
// It never takes the keyboard focus, so the tab order stays as designed.
class RoundButton : public platform::Control {
public:
    RoundButton(const platform::ControlContext& context, const RoundButtonDesign& design);
    // Pushes the button as a click would.
    void click();

    std::function<void()> Click;
};

struct ChoiceFrameDesign {
    bool visible = false;
};

// A frame of a white and a black line around the chosen swatch or tool button,
// so it shows on any colour around it. It takes no mouse input.
class ChoiceFrame : public platform::Control {
public:
    static constexpr int kThickness = 3;

    ChoiceFrame(const platform::ControlContext& context, const ChoiceFrameDesign& design);
    // Around a control, `outset` pixels outside its edges (0: just inside them).
    void surround(const platform::Bounds& target, int outset);
    void remove();
    // What the frame is around now; none when nothing is chosen.
    std::optional<platform::Bounds> framed() const { return framed_; }

private:
    std::optional<platform::Bounds> framed_;
};

}  // namespace canvas
