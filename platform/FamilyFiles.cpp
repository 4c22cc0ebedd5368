#include "platform/FamilyFiles.h"

#include <QBuffer>
#include <QImage>
#include <cerrno>
#include <system_error>

#include "platform/core/Files.h"
#include "platform/core/UserFolders.h"

namespace platform {

namespace fs = std::filesystem;

std::string pngOf(const PixelBuffer& pixels) {
    // A colour number is R + 256 G + 65536 B: in memory the bytes R, G, B and a spare one.
    const QImage image(reinterpret_cast<const uchar*>(pixels.data()), pixels.width(), pixels.height(),
                       pixels.width() * 4, QImage::Format_RGBX8888);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB888).save(&buffer, "PNG");
    return buffer.data().toStdString();
}

std::variant<fs::path, std::string> keepForFamily(const std::string& title, std::string_view extension,
                                                  std::string_view bytes, std::time_t when) {
    const std::optional<fs::path> folder = familyFolder();
    if (!folder) return std::string("не найдена домашняя папка");
    std::error_code ec;
    fs::create_directories(*folder, ec);
    if (ec) return reasonFor(ec.value());
    for (int copy = 1;; ++copy) {
        const fs::path file = *folder / (familyFileStem(title, when, copy) + "." + std::string(extension));
        const int failure = writeNewFile(file, bytes);
        if (failure == 0) return file;
        if (failure != EEXIST) return reasonFor(failure);
    }
}

}  // namespace platform
