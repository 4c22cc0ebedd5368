#include "canvas/core/History.h"

#include <algorithm>

namespace canvas {

namespace {

PixelRect clipped(const PixelBuffer& pixels, PixelRect r) {
    const int left = std::max(r.x, 0), top = std::max(r.y, 0);
    const int right = std::min(r.x + r.width, pixels.width()), bottom = std::min(r.y + r.height, pixels.height());
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

// Equal segments one under the other become one block. A step's pixels keep
// their order: a block forms only from segments that follow each other, and a
// fill's, which merge upwards too, all share one colour.
void appendRun(std::vector<Run>& runs, Run r) {
    if (!runs.empty()) {
        Run& last = runs.back();
        if (r.x == last.x && r.length == last.length && r.rows == 1) {
            if (r.y == last.y + last.rows) {
                ++last.rows;
                return;
            }
            if (r.y == last.y - 1) {
                --last.y;
                ++last.rows;
                return;
            }
        }
    }
    runs.push_back(r);
}

template <class ColourRun>
void appendColour(std::vector<ColourRun>& runs, std::uint32_t colour) {
    if (!runs.empty() && runs.back().colour == colour) {
        ++runs.back().count;
    } else {
        runs.push_back({colour, 1});
    }
}

}  // namespace

std::size_t History::Step::bytes() const {
    return sizeof(Step) + runs.capacity() * sizeof(Run) + mask.capacity() +
           (before.capacity() + after.capacity()) * sizeof(ColourRun);
}

void History::open() {
    open_ = true;
    touched_.clear();
    touchedPixels_.clear();
}

void History::touch(const PixelBuffer& pixels, PixelRect area) {
    if (!open_) open();
    const PixelRect r = clipped(pixels, area);
    if (r.empty()) return;
    touched_.push_back(r);
    for (int y = r.y; y < r.y + r.height; ++y) {
        const std::uint32_t* row = pixels.data() + static_cast<std::size_t>(y) * pixels.width() + r.x;
        touchedPixels_.insert(touchedPixels_.end(), row, row + r.width);
    }
}

// The canvas as it was when the step opened is the canvas now with every touched
// area put back, the latest first, so that an area touched twice ends with its
// first pixels. Comparing the two finds what the step changed.
void History::close(const PixelBuffer& pixels) {
    if (!open_) return;
    open_ = false;
    if (touched_.empty()) return;
    PixelRect u;
    for (const PixelRect& r : touched_) u = u.united(r);
    if (clipped(pixels, u) != u) {  // the canvas shrank under the step: nothing to compare with
        clear();
        return;
    }
    const int stride = pixels.width();
    beforeScratch_.resize(static_cast<std::size_t>(u.width) * u.height);
    for (int y = 0; y < u.height; ++y) {
        const std::uint32_t* row = pixels.data() + static_cast<std::size_t>(u.y + y) * stride + u.x;
        std::copy_n(row, u.width, beforeScratch_.begin() + static_cast<std::ptrdiff_t>(y) * u.width);
    }
    std::size_t offset = touchedPixels_.size();
    for (auto r = touched_.rbegin(); r != touched_.rend(); ++r) {
        offset -= static_cast<std::size_t>(r->width) * r->height;
        for (int y = 0; y < r->height; ++y) {
            std::copy_n(touchedPixels_.begin() + static_cast<std::ptrdiff_t>(offset) + static_cast<std::ptrdiff_t>(y) * r->width,
                        r->width,
                        beforeScratch_.begin() + static_cast<std::ptrdiff_t>(r->y - u.y + y) * u.width + (r->x - u.x));
        }
    }
    touched_.clear();
    touchedPixels_.clear();

    Step step;
    step.canvasWidth = pixels.width();
    step.canvasHeight = pixels.height();
    for (int y = 0; y < u.height; ++y) {
        const std::uint32_t* now = pixels.data() + static_cast<std::size_t>(u.y + y) * stride + u.x;
        const std::uint32_t* was = beforeScratch_.data() + static_cast<std::size_t>(y) * u.width;
        for (int x = 0; x < u.width;) {
            if (now[x] == was[x]) {
                ++x;
                continue;
            }
            const int start = x;
            for (; x < u.width && now[x] != was[x]; ++x) {
                appendColour(step.before, was[x]);
                appendColour(step.after, now[x]);
            }
            appendRun(step.runs, {static_cast<std::int16_t>(u.y + y), static_cast<std::int16_t>(u.x + start),
                                  static_cast<std::int16_t>(x - start)});
            step.area = step.area.united({u.x + start, u.y + y, x - start, 1});
        }
    }
    if (step.runs.empty()) return;
    step.runs.shrink_to_fit();
    step.before.shrink_to_fit();
    step.after.shrink_to_fit();
    useSmallerForm(step);
    push(std::move(step));
}

void History::recordFill(const PixelBuffer& pixels, std::span<const Run> runs, ColourNumber before,
                         ColourNumber after) {
    close(pixels);
    if (runs.empty()) return;
    Step step;
    step.canvasWidth = pixels.width();
    step.canvasHeight = pixels.height();
    runScratch_.clear();
    for (const Run& r : runs) appendRun(runScratch_, r);
    step.runs.assign(runScratch_.begin(), runScratch_.end());
    int left = runs.front().x, right = left, top = runs.front().y, bottom = top;
    std::uint32_t count = 0;
    for (const Run& r : step.runs) {
        left = std::min<int>(left, r.x);
        right = std::max(right, r.x + r.length - 1);
        top = std::min<int>(top, r.y);
        bottom = std::max(bottom, r.y + r.rows - 1);
        count += static_cast<std::uint32_t>(r.length) * static_cast<std::uint32_t>(r.rows);
    }
    step.area = {left, top, right - left + 1, bottom - top + 1};
    step.before = {{static_cast<std::uint32_t>(before), count}};
    step.after = {{static_cast<std::uint32_t>(after) & 0xFFFFFFu, count}};
    useSmallerForm(step);
    push(std::move(step));
}

// Many short runs (a comb of thin lines, say) take less room as a bit per pixel.
void History::useSmallerForm(Step& step) {
    const std::size_t maskBytes = (static_cast<std::size_t>(step.area.width) * step.area.height + 7) / 8;
    if (maskBytes >= step.runs.size() * sizeof(Run)) return;
    step.mask.assign(maskBytes, 0);
    for (const Run& r : step.runs) {
        for (int row = 0; row < r.rows; ++row) {
            std::size_t bit = static_cast<std::size_t>(r.y + row - step.area.y) * step.area.width + (r.x - step.area.x);
            for (int i = 0; i < r.length; ++i, ++bit) step.mask[bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
        }
    }
    std::vector<Run>().swap(step.runs);
}

PixelRect History::apply(const Step& step, const std::vector<ColourRun>& colours, PixelBuffer& pixels) {
    std::uint32_t* const data = pixels.data();
    const std::size_t stride = static_cast<std::size_t>(pixels.width());
    std::size_t next = 0;
    std::uint32_t left = 0, colour = 0;
    auto take = [&] {
        while (left == 0) {
            colour = colours[next].colour;
            left = colours[next++].count;
        }
    };
    if (step.mask.empty()) {
        for (const Run& r : step.runs) {
            for (int row = 0; row < r.rows; ++row) {
                std::uint32_t* p = data + static_cast<std::size_t>(r.y + row) * stride + r.x;
                for (std::uint32_t n = static_cast<std::uint32_t>(r.length); n > 0;) {
                    take();
                    const std::uint32_t k = std::min(n, left);
                    std::fill_n(p, k, colour);
                    p += k;
                    n -= k;
                    left -= k;
                }
            }
        }
    } else {
        std::size_t bit = 0;
        for (int y = 0; y < step.area.height; ++y) {
            std::uint32_t* row = data + static_cast<std::size_t>(step.area.y + y) * stride + step.area.x;
            for (int x = 0; x < step.area.width; ++x, ++bit) {
                if (!(step.mask[bit / 8] & (1u << (bit % 8)))) continue;
                take();
                row[x] = colour;
                --left;
            }
        }
    }
    return step.area;
}

void History::push(Step step) {
    for (const Step& s : undone_) bytes_ -= s.bytes();
    undone_.clear();
    bytes_ += step.bytes();
    done_.push_back(std::move(step));
    while (bytes_ > budget_ && !done_.empty()) {
        bytes_ -= done_.front().bytes();
        done_.pop_front();
    }
}

bool History::fits(const Step& step, const PixelBuffer& pixels) const {
    return step.canvasWidth == pixels.width() && step.canvasHeight == pixels.height();
}

PixelRect History::undo(PixelBuffer& pixels) {
    close(pixels);
    if (done_.empty()) return {};
    if (!fits(done_.back(), pixels)) {
        clear();
        return {};
    }
    const PixelRect changed = apply(done_.back(), done_.back().before, pixels);
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    return changed;
}

PixelRect History::redo(PixelBuffer& pixels) {
    close(pixels);
    if (undone_.empty()) return {};
    if (!fits(undone_.back(), pixels)) {
        clear();
        return {};
    }
    const PixelRect changed = apply(undone_.back(), undone_.back().after, pixels);
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    return changed;
}

void History::clear() {
    done_.clear();
    undone_.clear();
    bytes_ = 0;
    open_ = false;
    touched_.clear();
    touchedPixels_.clear();
}

}  // namespace canvas
