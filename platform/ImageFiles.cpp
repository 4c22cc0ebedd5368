#include "platform/ImageFiles.h"

#include <QImage>
#include <utility>

#include "platform/core/Files.h"

namespace platform {

namespace {
// The largest of the program's own images, all PNG, is a few hundred kilobytes.
constexpr std::uintmax_t kMostImageBytes = std::uintmax_t{16} << 20;
}  // namespace

QPixmap imageFile(const std::string& name) {
    QImage image;
    if (const auto bytes = readFileBytes(name, kMostImageBytes)) {
        // Named, the format is read by Qt's own reader; unnamed, every image
        // plugin (and the libraries behind them) would be loaded to guess it.
        image.loadFromData(reinterpret_cast<const uchar*>(bytes->data()), static_cast<uint>(bytes->size()), "PNG");
    }
    return QPixmap::fromImage(std::move(image));
}

}  // namespace platform
