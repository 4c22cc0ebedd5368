#pragma once
#include "platform/Controls.h"

namespace canvas {

// A filled rectangle that grows as a long pixel loop goes, hidden when idle.
class ProgressBar {
public:
    // fullTwips: the bar's width, in twips, when the last row is reached.
    ProgressBar(platform::Shape& bar, int fullTwips) : bar_(bar), fullTwips_(fullTwips) { bar_.setVisible(true); }
    ~ProgressBar() { bar_.setVisible(false); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Width row * full / rows twips, plus an offset for a second phase. Called
    // after every row; the widget is touched only when a whole pixel is gained.
    void set(long long row, long long rows, int offsetTwips = 0) {
        const long long twips = (rows > 0 ? row * fullTwips_ / rows : 0) + offsetTwips;
        const int width = platform::twipsToPixels(static_cast<int>(twips));
        const platform::Bounds b = bar_.bounds();
        if (width != b.width) bar_.setBounds({b.left, b.top, width, b.height});
    }

private:
    platform::Shape& bar_;
    int fullTwips_;
};

}  // namespace canvas
