// Builds the picture library and the welcome window's images from the
// drawings in assets/pictures:
//   make_pictures <assets/pictures> <program folder> [contact sheet.png]
// writes data/ N.mac (line art, rewritten every time) and the PNGs beside the
// program (the gallery's starting pictures are made from data/ N.mac when the
// program needs them); with a third
// argument also all the pictures on one sheet, numbered and titled, for the
// documentation (docs/screenshots/pictures.png).
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRectF>
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

#include "pictures/core/PictureFiles.h"
#include "platform/core/Cp1251.h"
#include "platform/core/PixelBuffer.h"
#include "platform/core/TextFile.h"
#include "tools/LineArt.h"
#include "tools/PicturePage.h"

namespace fs = std::filesystem;

namespace {

struct Animal {
    int number = 0;
    std::string drawing;  // assets/pictures/fluent/<drawing>.svg
    std::string title;
    page::Scene scene = page::Scene::None;
};

// The drawings shown in their own colours: the welcome window's pictures, made
// at the size of their boxes and without transparency so that the program reads
// them as they are shown, the window icon (the lady beetle's spots stand for
// the name) and the menu icon at the sizes desktops look for, installed into
// the icon theme.
struct ColouredImage {
    std::string file;  // in the program's folder
    std::string drawing;
    int width, height, margin;
    bool transparent;
};
std::vector<ColouredImage> colouredImages() {
    std::vector<ColouredImage> images = {
        {"welcome1.png", "fox", 390, 411, 16, false},
        {"welcome2.png", "bear", 390, 427, 16, false},
        {"welcome3.png", "butterfly", 117, 78, 4, false},
        {"pyatnushki.png", "lady-beetle", 64, 64, 2, true},
    };
    for (const int size : {48, 64, 128, 256}) {
        const std::string box = std::to_string(size) + "x" + std::to_string(size);
        images.push_back({"icons/hicolor/" + box + "/apps/pyatnushki.png", "lady-beetle", size, size, size / 32, true});
    }
    return images;
}

// The welcome window's corner: a quarter of the sun on the blue sky.
const char* const kSun = "sun";


bool fail(const std::string& message) {
    std::fprintf(stderr, "make_pictures: %s\n", message.c_str());
    return false;
}

// number <TAB> drawing <TAB> title <TAB> scene; '#' starts a comment line.
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
        const std::string where = file.string() + ":" + std::to_string(lineNumber) + ": ";
        std::istringstream fields(line);
        std::string number, drawing, title, sceneName;
        if (!std::getline(fields, number, '\t') || !std::getline(fields, drawing, '\t') ||
            !std::getline(fields, title, '\t') || title.empty() || !std::getline(fields, sceneName, '\t')) {
            fail(where + "expected number, drawing, title and scene");
            return std::nullopt;
        }
        page::Scene scene = page::Scene::None;
        if (!page::sceneFromName(sceneName, &scene)) {
            fail(where + "no scene called " + sceneName);
            return std::nullopt;
        }
        // A title the picture files cannot hold would show as question marks.
        const std::string cp1251 = platform::utf8ToCp1251(title);
        if (std::count(cp1251.begin(), cp1251.end(), '?') != std::count(title.begin(), title.end(), '?')) {
            fail(where + "the title has characters outside Windows-1251");
            return std::nullopt;
        }
        const int n = std::atoi(number.c_str());
        if (n != static_cast<int>(animals.size()) + 1) {
            fail(where + "pictures must be numbered 1, 2, 3, ... in order");
            return std::nullopt;
        }
        animals.push_back({n, drawing, title, scene});
    }
    if (animals.empty()) {
        fail(file.string() + " lists no pictures");
        return std::nullopt;
    }
    return animals;
}

std::optional<QByteArray> readDrawing(const fs::path& pictures, const std::string& name) {
    const fs::path path = pictures / "fluent" / (name + ".svg");
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
    bool ok = writer->writeLine(title) && writer->writeLine(pictures::NumberText(page::kHeight) + " ") &&
              writer->writeLine(pictures::NumberText(page::kWidth) + " ");
    // A row to a line, cells separated by commas: the reader takes either.
    std::string row;
    for (int r = 0; ok && r < page::kHeight; ++r) {
        row.clear();
        for (int c = 0; c < page::kWidth; ++c) {
            if (c > 0) row += ',';
            row += white[static_cast<std::size_t>(r) * page::kWidth + c] ? '1' : '0';
        }
        ok = writer->writeLine(row);
    }
    if (!writer->commit(&why) || !ok) return fail(file.string() + ": " + why);
    return true;
}

bool savePng(const QImage& image, const fs::path& file) {
    if (!image.save(QString::fromStdString(file.string()), "PNG")) return fail("cannot write " + file.string());
    return true;
}

std::optional<QImage> sun(const QByteArray& drawing) {
    QImage image(117, 115, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    QPainter painter(&image);
    constexpr double kRadius = 112;
    if (!page::paintDrawing(painter, drawing, QRectF(image.width() - kRadius, -kRadius, 2 * kRadius, 2 * kRadius))) {
        return std::nullopt;
    }
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
        QImage picture(page::kWidth, page::kHeight, QImage::Format_RGB32);
        for (int y = 0; y < page::kHeight; ++y) {
            for (int x = 0; x < page::kWidth; ++x) {
                const bool white = pictures[i][static_cast<std::size_t>(y) * page::kWidth + x] != 0;
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
    const std::vector<ColouredImage> images = colouredImages();
    std::vector<std::string> names = {kSun};
    for (const ColouredImage& image : images) names.push_back(image.drawing);
    for (const Animal& animal : *animals) names.push_back(animal.drawing);
    for (const std::string& name : names) {
        if (drawings.count(name)) continue;
        const std::optional<QByteArray> svg = readDrawing(pictures, name);
        if (!svg) return false;
        drawings[name] = *svg;
    }
    std::error_code ec;
    fs::create_directories(program / "data", ec);
    if (ec) return fail("cannot create " + (program / "data").string() + ": " + ec.message());

    std::vector<std::vector<std::uint8_t>> made;
    for (const Animal& animal : *animals) {
        std::string why;
        const std::optional<page::Page> laidOut = page::layOut(drawings[animal.drawing], animal.scene, &why);
        if (!laidOut) return fail(animal.drawing + ".svg: " + why);
        const lineart::Result art = lineart::convert(laidOut->colours);
        std::printf("make_pictures: %s (%s): %d patches to colour, %d shared out, %d in ink; animal %.0f %% x %.0f %%\n",
                    animal.title.c_str(), animal.drawing.c_str(), art.patches - 1, art.shared, art.ink,
                    100.0 * laidOut->animal.width() / page::kWidth, 100.0 * laidOut->animal.height() / page::kHeight);
        if (!writeLibraryPicture(program / pictures::libraryPicturePath(animal.number), animal.title, art.white)) {
            return false;
        }
        made.push_back(art.white);
    }
    if (!sheet.empty() && !savePng(contactSheet(*animals, made), sheet)) return false;

    for (const ColouredImage& wanted : images) {
        const fs::path file = program / wanted.file;
        fs::create_directories(file.parent_path(), ec);
        QImage image(wanted.width, wanted.height, QImage::Format_ARGB32_Premultiplied);
        image.fill(wanted.transparent ? Qt::transparent : Qt::white);
        QPainter painter(&image);
        const QRectF inside(wanted.margin, wanted.margin, wanted.width - 2.0 * wanted.margin,
                            wanted.height - 2.0 * wanted.margin);
        if (!page::paintDrawing(painter, drawings[wanted.drawing], inside)) {
            return fail(wanted.drawing + ".svg shows nothing");
        }
        painter.end();
        if (!wanted.transparent) image.convertTo(QImage::Format_RGB32);
        if (!savePng(image, file)) return false;
    }
    const std::optional<QImage> corner = sun(drawings[kSun]);
    if (!corner) return fail(std::string(kSun) + ".svg shows nothing");
    return savePng(*corner, program / "sun.png");
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
