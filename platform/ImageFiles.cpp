#include "platform/ImageFiles.h"

#include "platform/core/Files.h"

namespace platform {

namespace {
// The largest of the program's own images is a few hundred kilobytes.
constexpr std::uintmax_t kMostImageBytes = std::uintmax_t{16} << 20;

QImage readImage(const std::string& name) {
    QImage image;
    if (const auto bytes = readFileBytes(name, kMostImageBytes)) {
        image.loadFromData(reinterpret_cast<const uchar*>(bytes->data()), static_cast<uint>(bytes->size()));
    }
    return image;
}
}  // namespace

QPixmap imageFile(const std::string& name) { return QPixmap::fromImage(readImage(name)); }

ImagesAhead::ImagesAhead(const std::vector<Wanted>& images) {
    for (const Wanted& wanted : images) {
        reading_[wanted.name] = std::async(std::launch::async, [wanted] {
            // In the format a pixmap keeps, so that handing it over copies nothing.
            QImage image = readImage(wanted.name);
            if (image.isNull()) return image;
            image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
            if (wanted.shown.isEmpty()) return image;
            return image.scaled(wanted.shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        });
    }
}

QPixmap ImagesAhead::take(const std::string& name) {
    const auto it = reading_.find(name);
    if (it == reading_.end() || !it->second.valid()) return imageFile(name);
    return QPixmap::fromImage(it->second.get());
}

}  // namespace platform
