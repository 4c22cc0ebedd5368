#include "platform/ImageFiles.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <utility>

#include "platform/core/Files.h"
#include "platform/core/Pages.h"

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
        // Decoded into memory fetched in one call, which the reader keeps when
        // the size and format are the file's; a size beyond the reader's own
        // limit is left to the reader to refuse.
        const QSize size = reader.size();
        const QImage::Format format = reader.imageFormat();
        const qint64 decodedBytes = qint64(size.width()) * size.height() * QImage::toPixelFormat(format).bitsPerPixel() / 8;
        const qint64 limit = qint64(QImageReader::allocationLimit()) << 20;
        if (size.isValid() && format != QImage::Format_Invalid && decodedBytes <= limit) {
            image = QImage(size, format);
            if (!image.isNull()) fetchPages(image.bits(), static_cast<std::size_t>(image.sizeInBytes()));
        }
        if (!reader.read(&image)) image = QImage();
    }
    return image;
}

QPixmap imageFile(const std::string& name) { return QPixmap::fromImage(readImageFile(name)); }

}  // namespace platform
