#pragma once
// A printed PDF sheet turned back into pixels by pdftoppm, with the printed
// window found on it: the part that is not paper white, 1280 stage pixels wide.
#include <QColor>
#include <QImage>
#include <QProcess>
#include <QString>
#include <algorithm>
#include <cstdlib>

namespace testing_support {

struct PrintedSheet {
    QImage page;
    int left = 0, top = 0, right = -1, bottom = -1;
    double scale = 0;

    static PrintedSheet read(const QString& pdf) {
        PrintedSheet sheet;
        const QString prefix = pdf + "-page";
        if (QProcess::execute("pdftoppm", {"-r", "60", "-png", "-singlefile", pdf, prefix}) != 0) return sheet;
        sheet.page = QImage(prefix + ".png");
        sheet.left = sheet.page.width(), sheet.top = sheet.page.height();
        for (int y = 0; y < sheet.page.height(); ++y) {
            for (int x = 0; x < sheet.page.width(); ++x) {
                if (sheet.page.pixelColor(x, y) == QColor(Qt::white)) continue;
                sheet.left = std::min(sheet.left, x), sheet.right = std::max(sheet.right, x);
                sheet.top = std::min(sheet.top, y), sheet.bottom = std::max(sheet.bottom, y);
            }
        }
        if (sheet.right >= sheet.left) sheet.scale = (sheet.right - sheet.left + 1) / 1280.0;
        return sheet;
    }
    bool found() const { return scale > 0; }
    // The printed window's height in stage pixels, to check the aspect was kept.
    double stageHeight() const { return (bottom - top + 1) / scale; }
    // The sheet's colour at a stage position of the printed window.
    QColor at(int x, int y) const { return page.pixelColor(left + int(x * scale), top + int(y * scale)); }
    // How many sampled pixels of a stage rectangle carry dark ink.
    int ink(int x0, int y0, int width, int height, int step = 2) const {
        int dark = 0;
        for (int y = y0; y < y0 + height; y += step) {
            for (int x = x0; x < x0 + width; x += step) dark += at(x, y).lightness() < 110;
        }
        return dark;
    }
};

inline bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 && std::abs(a.blue() - b.blue()) < 40;
}

}  // namespace testing_support
