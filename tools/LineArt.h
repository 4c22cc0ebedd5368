#pragma once
// Turns a picture in flat colours into line art a child colours with the
// fill: every patch of one colour becomes a closed white area, the border
// between two patches (and between a patch and the paper) a black line of
// one weight. Small dark shapes (eyes, nostrils, spots) and thin dark ones (a
// mouth, an antenna) stay solid black; a patch too small or too thin to colour
// is shared out among the patches around it. Edge pixels that antialiasing
// blended count for the nearest pure colour, so they never make lines or specks.
#include <QImage>
#include <cstdint>
#include <vector>

namespace lineart {

// A pixel this close to a border between two patches is black: with the
// border's pixel on each side, lines are 2 * kLineReach + 2 pixels wide.
inline constexpr int kLineReach = 4;

// No black is thinner than this: every black pixel lies in an all-black square of this side.
inline constexpr int kLineWidth = 6;

// A white area smaller than this is too small to hit with the fill.
inline constexpr int kMinArea = 400;

// A patch is kept to colour only if some pixel of it lies this far from its
// border (so it leaves a white core between its lines) and it is large enough
// to leave kMinArea of white.
inline constexpr int kColourableReach = kLineReach + 6;
inline constexpr int kColourableSize = 2 * kMinArea;

// A patch darker than this (luma, 0 to 255) is ink, drawn solid black instead
// of outlined, when it is too thin to colour, or when it is no larger than
// kInkArea and the ink so far leaves room for it within kInkPercent of the
// page: the smallest first, twins (a pair of eyes) together.
inline constexpr int kDarkLuma = 70;
inline constexpr int kInkArea = 13000;
inline constexpr int kInkPercent = 5;

struct Result {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> white;  // per pixel, 1 white and 0 black
    std::vector<int> patch;           // per pixel, the patch it ended in (lines included)
    int patches = 0;                  // patches left after sharing, the page around among them
    int shared = 0;                   // patches too small or thin, shared out among their neighbours
    int ink = 0;                      // small or thin dark patches drawn solid black
};

// `page` shows the picture on see-through paper, its top left pixel on the
// page around the picture, which is always kept; every distinct colour (the
// paper's included) is a patch colour. Deterministic for the same image.
Result convert(const QImage& page);

}  // namespace lineart
