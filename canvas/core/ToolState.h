#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "canvas/core/FloodFill.h"
#include "canvas/core/History.h"
#include "canvas/core/Palette.h"

namespace canvas {

// The selection and tool state of one canvas, and what a press or a move on the
// canvas does with it. Works on plain pixels; the window shows the result.
class ToolState {
public:
    // Everything back to how a new window starts: nothing selected, no first point.
    void reset();

    // A palette colour, a pen code, a shape tool code, or nothing.
    std::optional<ColourNumber> CurrentColor;
    int ShapeStep = 0;
    int FirstX = 0;
    int FirstY = 0;
    long long RadiusSquared = 0;
    ColourNumber TargetColor = platform::kNoColour;
    // Where the canvas's changes are recorded for undo; none, no recording.
    History* history = nullptr;

    // The selection taken as a colour: nothing as black, a pen code as the number it is.
    ColourNumber currentAsColour() const { return CurrentColor.value_or(platform::kBlack); }
    bool shapeToolSelected() const { return CurrentColor == CircleTool || CurrentColor == RectangleTool; }

    // A press at (x, y) with any button. canvasWidth and canvasHeight are the
    // canvas's outer size in pixels; shapeColour is the shape-colour swatch's.
    PixelRect press(PixelBuffer& pixels, double x, double y, ColourNumber shapeColour, int canvasWidth, int canvasHeight);
    // A move report with the buttons held (1 = the left button alone).
    PixelRect move(PixelBuffer& pixels, int buttons, int x, int y);
    // The button is up: a pen stroke, from its press to here, is one step.
    void release(const PixelBuffer& pixels);

private:
    PixelRect shapeStep(PixelBuffer& pixels, int x, int y, ColourNumber shapeColour, int canvasWidth, int canvasHeight);
    FillScratch scratch_;
};

// The nearest whole number, halves going to the even one.
int roundHalfEven(double value);

}  // namespace canvas
