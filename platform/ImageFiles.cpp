#include "platform/ImageFiles.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <utility>

#include "platform/core/Files.h"

namespace platform {

namespace {
// The largest of the program's own images, all PNG, is a few hundred kilobytes.
constexpr std::uintmax_t kMostImageBytes = std::uintmax_t{16} << 20;
}  // namespace

QImage readImageFile(const std::string& name) {
    QImage image;
    if (auto bytes = readFileBytes(name, kMostImageBytes)) {
        QByteArray data = QByteArray::fromRawData(bytes->data(), static_cast<qsizetype>(bytes->size()));
        QBuffer buffer(&data);
        // Qt's own PNG reader, told so: left to guess, Qt loads every image
        // plugin (and the libraries behind them) to ask each about the file.
        QImageReader reader(&buffer, "png");
        reader.setAutoDetectImageFormat(false);
        reader.read(&image);
    }
    return image;
}

QPixmap imageFile(const std::string& name) { return QPixmap::fromImage(readImageFile(name)); }

}  // namespace platform
