#include "canvas/PrintCopy.h"

#include "canvas/ProgressBar.h"

namespace canvas {

void PrintCopy::lay(const platform::PictureBox& canvas, platform::PictureBox& copy, platform::Shape& bar) {
    copy.setOuterSize(canvas.width(), canvas.height());
    {
        ProgressBar progress(bar, kHalfBarTwips);
        table_.take(canvas.pixels(), [&](int row, int rows) { progress.set(row, rows); });
        copy.setVisible(true);
        // An earlier, larger picture may still stand on the copy beyond the table.
        copy.pixels().fill(platform::kWhite);
        table_.paint(copy.pixels(), [&](int row, int rows) { progress.set(row, rows, kHalfBarTwips); });
    }
    copy.changedAll();
}

}  // namespace canvas
