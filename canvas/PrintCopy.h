#pragma once
#include "canvas/core/Snapshot.h"
#include "platform/Controls.h"
#include "platform/PictureBox.h"

namespace canvas {

// What a canvas window prints in its canvas's place: the canvas is read into a
// table, pixel columns 1 … 900 of rows 1 … 1100 (-1 where it has no pixel), and
// the table is painted onto a hidden picture box that lies exactly over the
// canvas, so the sheet shows the copy whatever becomes of the canvas afterwards.
// The main window and the tale window each own one, with a table of their own.
class PrintCopy {
public:
    static constexpr int kLastX = 900;
    static constexpr int kLastY = 1100;
    // The progress bar grows to this while the canvas is read, and by as much
    // again while the copy is painted.
    static constexpr int kHalfBarTwips = 2647;

    // Sizes the copy like the canvas, fills it from the canvas with the bar
    // running, and leaves it shown and repainted, the bar hidden. Pixel row 0,
    // column 0 and whatever lies beyond the table are white on the copy.
    void lay(const platform::PictureBox& canvas, platform::PictureBox& copy, platform::Shape& bar);

    const Snapshot& table() const { return table_; }

private:
    Snapshot table_{kLastX, kLastY};
};

}  // namespace canvas
