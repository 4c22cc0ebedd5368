#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "platform/core/PixelBuffer.h"

namespace canvas {

using platform::ColourNumber;
using platform::PixelBuffer;
using platform::PixelRect;

// Pixels x .. x + length - 1 of `rows` rows from row y down: a row segment,
// or a block of equal segments one under the other.
struct Run {
    std::int16_t y, x, length, rows = 1;
};

// The undo and redo history of one canvas. A step keeps only the pixels it
// changed, with their colours before and after, never a copy of the canvas:
// a fill of the whole design canvas costs a few kilobytes, and any fill at most
// one bit per pixel of the rectangle it touched. The oldest steps go first once
// the steps together hold more than the budget.
class History {
public:
    static constexpr std::size_t kBudgetBytes = std::size_t{64} << 20;
    explicit History(std::size_t budgetBytes = kBudgetBytes) : budget_(budgetBytes) {}

    // A step made of several changes (a stroke, a shape, a whole-canvas change):
    // open it, touch every area just before changing it, close it. A step that
    // changed nothing leaves no trace. Touching with no step open opens one.
    void open();
    void touch(const PixelBuffer& pixels, PixelRect area);
    void close(const PixelBuffer& pixels);
    bool isOpen() const { return open_; }

    // A fill as one step: it painted these runs, all of colour `before`, with `after`.
    void recordFill(const PixelBuffer& pixels, std::span<const Run> runs, ColourNumber before, ColourNumber after);

    // Puts the canvas back as it was before the latest step, or as it was after
    // the latest undone one; returns the rectangle changed. A step still open is
    // closed first. A canvas whose size changed since has nothing to undo.
    PixelRect undo(PixelBuffer& pixels);
    PixelRect redo(PixelBuffer& pixels);
    bool canUndo() const { return !done_.empty() || open_; }
    bool canRedo() const { return !undone_.empty(); }
    std::size_t undoSteps() const { return done_.size(); }
    std::size_t redoSteps() const { return undone_.size(); }

    // Another picture: nothing to undo or redo.
    void clear();

    // The memory the steps hold, as counted against the budget.
    std::size_t bytes() const { return bytes_; }
    std::size_t budget() const { return budget_; }

private:
    struct ColourRun {
        std::uint32_t colour, count;
    };
    // The changed pixels of a step, either as runs or, when that is smaller, as
    // one bit per pixel of `area`, rows top to bottom; and their colours in that
    // order. A fill's runs come in the order it painted them, which is fine: all
    // its pixels share one colour before and one after.
    struct Step {
        int canvasWidth = 0, canvasHeight = 0;
        PixelRect area;
        std::vector<Run> runs;
        std::vector<std::uint8_t> mask;
        std::vector<ColourRun> before, after;
        std::size_t bytes() const;
    };
    static void useSmallerForm(Step& step);
    static PixelRect apply(const Step& step, const std::vector<ColourRun>& colours, PixelBuffer& pixels);
    void push(Step step);
    bool fits(const Step& step, const PixelBuffer& pixels) const;

    std::size_t budget_;
    std::size_t bytes_ = 0;
    std::deque<Step> done_;
    std::vector<Step> undone_;

    // The open step: the areas touched and their pixels as they were then.
    bool open_ = false;
    std::vector<PixelRect> touched_;
    std::vector<std::uint32_t> touchedPixels_;
    std::vector<std::uint32_t> beforeScratch_;
    std::vector<Run> runScratch_;
};

}  // namespace canvas
