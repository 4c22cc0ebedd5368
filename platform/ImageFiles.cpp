#include "platform/ImageFiles.h"

#include "platform/core/Files.h"

namespace platform {

namespace {
// The largest of the program's own images is a few hundred kilobytes.
constexpr std::uintmax_t kMostImageBytes = std::uintmax_t{16} << 20;
}  // namespace

QPixmap imageFile(const std::string& name) {
    QPixmap image;
    if (const auto bytes = readFileBytes(name, kMostImageBytes)) {
        image.loadFromData(reinterpret_cast<const uchar*>(bytes->data()), static_cast<uint>(bytes->size()));
    }
    return image;
}

}  // namespace platform
