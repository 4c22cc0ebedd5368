#pragma once
#include <functional>
#include <optional>

#include "canvas/CanvasAids.h"
#include "canvas/core/History.h"
#include "canvas/core/ToolState.h"
#include "platform/Form.h"

namespace canvas {

using platform::Bounds;

// Where a window puts the parts of its canvas.
struct CanvasLayout {
    Bounds canvas;
    int paletteLeft, paletteTop;  // column 1, row 1 of the palette grid
    Bounds shapeColour;           // Picture5
    Bounds circleButton;          // Command10
    Bounds rectangleButton;       // Command11
    Bounds pencil;                // Image1
    int penLeft, penTop;          // Picture4(0); the other two follow 24 pixels apart
    Bounds paletteFrame;          // Shape1
    Bounds penFrame;              // Shape4
    std::optional<Bounds> palettePanel;  // Label5, in the main window only
    Bounds undoButton;            // in a spot the design left free
};

extern const CanvasLayout kMainWindowCanvas;
extern const CanvasLayout kTaleWindowCanvas;

// The drawing component: the canvas, the palette, the pens and the shape tools
// of one window, with their state. The window builds it with its own controls,
// sets it up when it loads, and lets it colour the window's own elements.
class CanvasComponent {
public:
    CanvasComponent(platform::Form& host, const CanvasLayout& layout);

    // Adds the component's controls and starts its state afresh.
    void build();

    // A press on the window's free background, or on one of its texts, colours it
    // with the selection; a shape tool is no colour, so then the element keeps its own.
    void colourWindowBackground();
    void colourText(platform::Label& label);

    ToolState& state() { return state_; }

    // Ctrl+Z and the undo button; Ctrl+Shift+Z and Ctrl+Y. Neither touches the
    // selection, the shape state or anything but the canvas's pixels.
    void undo();
    void redo();
    History& history() { return history_; }
    // Another picture is on the canvas: what was done to the last one is forgotten.
    void startFreshHistory();
    // A change the window makes to the canvas ("очистка рисунка", "создать свой
    // рисунок") as one step of the history.
    void changeAsOneStep(const std::function<void()>& change);
    // The undo button and the choice frame are for the screen, not for a printed sheet.
    void setAidsVisible(bool visible);

    platform::Ctl<platform::PictureBox> Picture1;         // the canvas
    platform::CtlArray<platform::PictureBox> Picture2;    // palette, 0..31
    platform::CtlArray<platform::PictureBox> Picture4;    // pens 0, 1234, 4321
    platform::Ctl<platform::CommandButton> Command10;     // circle
    platform::Ctl<platform::CommandButton> Command11;     // rectangle
    platform::Ctl<platform::PictureBox> Picture5;         // shape colour
    platform::Ctl<platform::Image> Image1;                // pencil
    platform::Ctl<platform::Shape> Shape1;                // palette frame
    platform::Ctl<platform::Shape> Shape4;                // pen frame
    platform::Ctl<platform::Label> Label5;                // palette panel (main window)
    platform::Ctl<RoundButton> UndoButton;
    platform::Ctl<ChoiceFrame> Frame;                     // around the current choice

private:
    std::optional<platform::ColourNumber> elementColour() const;
    void Picture1_MouseDown(const platform::MouseArgs& args);
    void Picture1_MouseMove(const platform::MouseArgs& args);
    void Picture1_MouseUp();
    void select(platform::ColourNumber choice);
    bool inFront() const;
    // The frame and the canvas's pointer follow the selection.
    void showChoice();
    void Picture5_Click();
    void Label5_Click();

    platform::Form& host_;
    const CanvasLayout& layout_;
    ToolState state_;
    History history_;
};

}  // namespace canvas
