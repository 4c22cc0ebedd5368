// Builds the picture library and the welcome window's images from the
// drawings in assets/pictures:
//   make_pictures <assets/pictures> <program folder> [contact sheet.png]
// writes data/ N.mac (line art, rewritten every time), data/gl N.mac (the
// gallery's starting pictures, written only when missing so a child's saved
// work survives a rebuild) and the PNGs beside the program; with a third
// argument also all the pictures on one sheet, numbered and titled, for the
// documentation (docs/screenshots/pictures.png).
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "pictures/core/GalleryFolder.h"
#include "pictures/core/PictureFiles.h"
#include "platform/core/Cp1251.h"
#include "platform/core/PixelBuffer.h"
#include "platform/core/TextFile.h"
#include "tools/LineArt.h"

namespace fs = std::filesystem;

namespace {

struct Animal {
    int number = 0;
    std::string hex;
    std::string title;
    lineart::Scene scene = lineart::Scene::None;
};

// The welcome window's pictures, each drawn from one of the animals.
struct ColouredImage {
    const char* file;
    const char* hex;
    int width, height, margin;
    bool transparent;
};
constexpr ColouredImage kColouredImages[] = {
    {"welcome1.png", "1F98A", 595, 628, 24, false},  // fox
    {"welcome2.png", "1F43B", 606, 640, 24, false},  // bear
    {"welcome3.png", "1F98B", 229, 174, 8, false},   // butterfly
    {"pyatnushki.png", "1F41E", 64, 64, 2, true},    // ladybird: the spots of the name
};

const char* const kBlankTitle = "Мой рисунок";

bool fail(const std::string& message) {
    std::fprintf(stderr, "make_pictures: %s\n", message.c_str());
    return false;
}

// number <TAB> hex <TAB> title <TAB> English name <TAB> scene; '#' starts a comment line.
std::optional<std::vector<Animal>> readAnimals(const fs::path& file) {
    std::ifstream in(file);
    if (!in) {
        fail("cannot read " + file.string());
        return std::nullopt;
    }
    std::vector<Animal> animals;
    std::string line;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string number, hex, title, name, sceneName;
        if (!std::getline(fields, number, '\t') || !std::getline(fields, hex, '\t') ||
            !std::getline(fields, title, '\t') || title.empty()) {
            fail(file.string() + ":" + std::to_string(lineNumber) + ": expected number, hex code and title");
            return std::nullopt;
        }
        lineart::Scene scene = lineart::Scene::None;
        if (std::getline(fields, name, '\t') && std::getline(fields, sceneName, '\t') &&
            !lineart::sceneFromName(sceneName, &scene)) {
            fail(file.string() + ":" + std::to_string(lineNumber) + ": no scene called " + sceneName);
            return std::nullopt;
        }
        // A title the picture files cannot hold would show as question marks.
        const std::string cp1251 = platform::utf8ToCp1251(title);
        if (std::count(cp1251.begin(), cp1251.end(), '?') != std::count(title.begin(), title.end(), '?')) {
            fail(file.string() + ":" + std::to_string(lineNumber) + ": the title has characters outside Windows-1251");
            return std::nullopt;
        }
        const int n = std::atoi(number.c_str());
        if (n != static_cast<int>(animals.size()) + 1) {
            fail(file.string() + ":" + std::to_string(lineNumber) +
                 ": pictures must be numbered 1, 2, 3, ... in order");
            return std::nullopt;
        }
        animals.push_back({n, hex, title, scene});
    }
    if (animals.empty()) {
        fail(file.string() + " lists no pictures");
        return std::nullopt;
    }
    return animals;
}

std::optional<QByteArray> readDrawing(const fs::path& pictures, const std::string& hex) {
    const fs::path path = pictures / "openmoji" / (hex + ".svg");
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly)) {
        fail("cannot read " + path.string());
        return std::nullopt;
    }
    return file.readAll();
}

bool writeLibraryPicture(const fs::path& file, const std::string& title, const std::vector<std::uint8_t>& white) {
    std::string why;
    std::optional<platform::TextWriter> writer = platform::TextWriter::create(file, &why);
    if (!writer) return fail(file.string() + ": " + why);
    bool ok = writer->writeLine(title) && writer->writeLine(pictures::NumberText(lineart::kHeight) + " ") &&
              writer->writeLine(pictures::NumberText(lineart::kWidth) + " ");
    // A row to a line, cells separated by commas: the reader takes either.
    std::string row;
    for (int r = 0; ok && r < lineart::kHeight; ++r) {
        row.clear();
        for (int c = 0; c < lineart::kWidth; ++c) {
            if (c > 0) row += ',';
            row += white[static_cast<std::size_t>(r) * lineart::kWidth + c] ? '1' : '0';
        }
        ok = writer->writeLine(row);
    }
    if (!writer->commit(&why) || !ok) return fail(file.string() + ": " + why);
    return true;
}

// The gallery slot holds what the canvas would show with the picture drawn on
// it: cell (c, r) is pixel (c - 1, r).
bool writeGallerySlot(const fs::path& file, const std::string& title, const std::vector<std::uint8_t>* white) {
    if (fs::exists(file)) return true;
    platform::PixelBuffer canvas(lineart::kWidth, lineart::kHeight, platform::kWhite);
    if (white) {
        for (int r = 1; r <= lineart::kHeight; ++r) {
            for (int c = 1; c <= lineart::kWidth; ++c) {
                if (!(*white)[static_cast<std::size_t>(r - 1) * lineart::kWidth + (c - 1)]) {
                    canvas.setPixel(c - 1, r, platform::kBlack);
                }
            }
        }
    }
    if (auto error = pictures::saveGalleryPicture(file, title, canvas)) return fail(error->message);
    return true;
}

bool savePng(const QImage& image, const fs::path& file) {
    if (!image.save(QString::fromStdString(file.string()), "PNG")) return fail("cannot write " + file.string());
    return true;
}

// Blue sky with a quarter of a yellow sun in its top right corner.
QImage sun() {
    QImage image(117, 115, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 0));
    constexpr double kRadius = 110;
    painter.drawEllipse(QPointF(image.width(), 0), kRadius, kRadius);
    return image;
}

// The pictures seven to a row, each with its number and title under it.
QImage contactSheet(const std::vector<Animal>& animals, const std::vector<std::vector<std::uint8_t>>& pictures) {
    constexpr int kColumns = 7, kCell = 244, kThumbHeight = 300, kCaption = 36;
    const int rows = (static_cast<int>(animals.size()) + kColumns - 1) / kColumns;
    QImage sheet(kColumns * kCell, rows * (kThumbHeight + kCaption), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font("DejaVu Sans");
    font.setPixelSize(16);
    painter.setFont(font);
    for (std::size_t i = 0; i < animals.size(); ++i) {
        QImage picture(lineart::kWidth, lineart::kHeight, QImage::Format_RGB32);
        for (int y = 0; y < lineart::kHeight; ++y) {
            for (int x = 0; x < lineart::kWidth; ++x) {
                const bool white = pictures[i][static_cast<std::size_t>(y) * lineart::kWidth + x] != 0;
                picture.setPixel(x, y, white ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
            }
        }
        const int column = static_cast<int>(i) % kColumns, row = static_cast<int>(i) / kColumns;
        const QImage thumb = picture.scaled(kCell - 8, kThumbHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const int left = column * kCell, top = row * (kThumbHeight + kCaption);
        painter.drawImage(left + (kCell - thumb.width()) / 2, top, thumb);
        painter.setPen(Qt::black);
        painter.drawText(QRect(left, top + kThumbHeight, kCell, kCaption), Qt::AlignCenter,
                         QString::number(animals[i].number) + " " + QString::fromStdString(animals[i].title));
    }
    painter.end();
    return sheet.convertToFormat(QImage::Format_Grayscale8);
}

bool run(const fs::path& pictures, const fs::path& program, const fs::path& sheet) {
    const std::optional<std::vector<Animal>> animals = readAnimals(pictures / "animals.tsv");
    if (!animals) return false;

    // Every drawing is read before anything is written: a broken list leaves the folder as it was.
    std::map<std::string, QByteArray> drawings;
    for (const Animal& animal : *animals) {
        const std::optional<QByteArray> svg = readDrawing(pictures, animal.hex);
        if (!svg) return false;
        drawings[animal.hex] = *svg;
    }
    std::error_code ec;
    fs::create_directories(program / "data", ec);
    if (ec) return fail("cannot create " + (program / "data").string() + ": " + ec.message());

    std::vector<std::vector<std::uint8_t>> made;
    for (const Animal& animal : *animals) {
        std::string why;
        const lineart::Labels labels =
            lineart::labelDrawing(drawings[animal.hex], lineart::kWidth, lineart::kHeight, lineart::kMargin, animal.scene, &why);
        if (labels.label.empty()) return fail(animal.hex + ".svg: " + why);
        lineart::Report report;
        const std::vector<std::uint8_t> white = lineart::drawLines(labels, &report);
        // Worth a look: the lines cut a patch or left it very small, strokes were
        // drawn on or cut back, patches too small were joined to a neighbour.
        if (report.joined || report.dropped || report.small || report.pruned || labels.extended || labels.merged) {
            std::printf("make_pictures: %s (%s): %d pieces joined, %d dropped (%d px), %d small patches; "
                        "%d stroke ends drawn on, %d left loose, %d px of loose lines cut away, %d tiny patches "
                        "joined; animal %.0f %% x %.0f %%\n",
                        animal.title.c_str(), animal.hex.c_str(), report.joined, report.dropped, report.droppedPixels,
                        report.small, labels.extended, labels.loose, report.pruned, labels.merged,
                        100.0 * labels.animal.width() / lineart::kWidth, 100.0 * labels.animal.height() / lineart::kHeight);
        }
        if (!writeLibraryPicture(program / pictures::libraryPicturePath(animal.number), animal.title, white)) {
            return false;
        }
        if (!writeGallerySlot(program / pictures::initialGalleryPath(animal.number), animal.title, &white)) return false;
        made.push_back(white);
    }
    if (!sheet.empty() && !savePng(contactSheet(*animals, made), sheet)) return false;
    if (!writeGallerySlot(program / pictures::initialGalleryPath(0), kBlankTitle, nullptr)) return false;

    for (const ColouredImage& wanted : kColouredImages) {
        const auto found = drawings.find(wanted.hex);
        if (found == drawings.end()) return fail(std::string(wanted.file) + ": " + wanted.hex + " is not in the list");
        const QImage image = lineart::renderColoured(found->second, {wanted.width, wanted.height}, wanted.margin,
                                                     wanted.transparent ? QColor(Qt::transparent) : QColor(Qt::white));
        if (!savePng(image, program / wanted.file)) return false;
    }
    // The menu icon, the window icon's ladybird, at the sizes desktops look for;
    // installed into the icon theme, not into the program's folder.
    const auto ladybird = drawings.find("1F41E");
    if (ladybird == drawings.end()) return fail("the icon's drawing 1F41E is not in the list");
    for (const int size : {48, 64, 128, 256}) {
        const std::string box = std::to_string(size) + "x" + std::to_string(size);
        const fs::path file = program / "icons" / "hicolor" / box / "apps" / "pyatnushki.png";
        std::error_code ec;
        fs::create_directories(file.parent_path(), ec);
        const QImage icon = lineart::renderColoured(ladybird->second, {size, size}, size / 32, QColor(Qt::transparent));
        if (!savePng(icon, file)) return false;
    }
    return savePng(sun(), program / "sun.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: make_pictures <assets/pictures> <program folder> [contact sheet.png]\n");
        return 2;
    }
    if (argc == 3) {
        // Drawings are rendered into images only: no application, no screen.
        return run(argv[1], argv[2], {}) ? 0 : 1;
    }
    // The sheet's captions need fonts, and fonts an application (off screen).
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return run(argv[1], argv[2], argv[3]) ? 0 : 1;
}
