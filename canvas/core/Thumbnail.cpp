#include "canvas/core/Thumbnail.h"

#include <algorithm>
#include <vector>

namespace canvas {

PixelBuffer makeThumbnail(std::span<const ColourNumber> cells, int width, int height, int boxWidth, int boxHeight) {
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0 ||
        cells.size() < static_cast<std::size_t>(width) * height) {
        return {};
    }
    const double scale = std::min({1.0, static_cast<double>(boxWidth) / width, static_cast<double>(boxHeight) / height});
    const int w = std::clamp(static_cast<int>(width * scale + 0.5), 1, boxWidth);
    const int h = std::clamp(static_cast<int>(height * scale + 0.5), 1, boxHeight);

    // Which thumbnail column each cell column falls in.
    std::vector<int> column(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) column[static_cast<std::size_t>(x)] = static_cast<int>(static_cast<long long>(x) * w / width);

    struct Box {
        unsigned long long sum[3] = {0, 0, 0};
        int least[3] = {255, 255, 255};
        unsigned count = 0;
    };
    std::vector<Box> boxes(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < height; ++y) {
        Box* row = boxes.data() + static_cast<std::size_t>(static_cast<long long>(y) * h / height) * w;
        const ColourNumber* cell = cells.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const ColourNumber c = cell[x] < 0 ? platform::kWhite : cell[x];
            Box& b = row[column[static_cast<std::size_t>(x)]];
            const int rgb[3] = {platform::redOf(c), platform::greenOf(c), platform::blueOf(c)};
            for (int i = 0; i < 3; ++i) {
                b.sum[i] += static_cast<unsigned>(rgb[i]);
                b.least[i] = std::min(b.least[i], rgb[i]);
            }
            ++b.count;
        }
    }
    PixelBuffer out(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Box& b = boxes[static_cast<std::size_t>(y) * w + x];
            if (b.count == 0) continue;
            int channel[3];
            for (int i = 0; i < 3; ++i) channel[i] = static_cast<int>((b.sum[i] / b.count + static_cast<unsigned>(b.least[i])) / 2);
            out.setPixel(x, y, platform::rgb(channel[0], channel[1], channel[2]));
        }
    }
    return out;
}

}  // namespace canvas
