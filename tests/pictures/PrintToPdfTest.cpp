// Printing for real: the main window goes through Qt's print support into a PDF,
// which pdftoppm turns back into an image to look at.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>

#include "app/WindowSet.h"
#include "platform/QtServices.h"
#include "tests/pictures/ProgramFolder.h"
#include "tests/support/Harness.h"

using namespace platform;
using testing_support::ProgramFolder;

namespace {

QImage renderFirstPage(const std::filesystem::path& pdf) {
    const std::filesystem::path prefix = pdf.parent_path() / "page";
    const int status = QProcess::execute("pdftoppm", {"-r", "60", "-png", "-singlefile", QString::fromStdString(pdf),
                                                      QString::fromStdString(prefix)});
    if (status != 0) return {};
    return QImage(QString::fromStdString(prefix.string() + ".png"));
}

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 && std::abs(a.blue() - b.blue()) < 40;
}

}  // namespace

TEST(PrintToPdfTest, TheSheetShowsTheWindowWithTheColouredCopyAndTheTitleInItsCorner) {
    ProgramFolder folder;
    // A 600 x 800 picture, white but for a black frame; filled blue below.
    std::vector<std::string> rows(800, "0" + std::string(598, '1') + "0");
    rows.front() = rows.back() = std::string(600, '0');
    ProgramFolder::writeLibrary(3, "Лиса", rows);

    fakes::FakeServices fakes;
    QtPrinter pdf((folder.root() / "sheet.pdf").string());
    Desktop desktop(Services{fakes.message, fakes.screen, fakes.multimedia, pdf, fakes.browser, fakes.beep, fakes.random,
                             fakes.timers});
    app::WindowSet w(desktop);
    w.form5.show();
    w.form5.Command1->click();
    fakes.random.script = {2.5 / 38};
    w.form1.Command2->click();
    ASSERT_EQ(w.form1.Label2->caption(), "Лиса");
    w.form1.canvas.state().CurrentColor = rgb(0, 0, 255);
    PictureBox& canvas = *w.form1.canvas.Picture1;
    w.form1.canvas.state().press(canvas.pixels(), 300, 400, kBlack, canvas.width(), canvas.height());
    w.form1.Command6->click();
    ASSERT_TRUE(fakes.message.shown.empty()) << fakes.message.shown.front();

    const QImage page = renderFirstPage(folder.root() / "sheet.pdf");
    ASSERT_FALSE(page.isNull()) << "pdftoppm could not render the sheet";
    EXPECT_GT(page.width(), page.height()) << "the sheet is printed across the page";

    // The window is the printed area that is not paper white; 1280 of its pixels span its width.
    int left = page.width(), top = page.height(), right = -1, bottom = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixelColor(x, y) != QColor(Qt::white)) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_GT(right, left);
    const double scale = (right - left + 1) / 1280.0;
    EXPECT_NEAR((bottom - top + 1) / scale, 1024, 12) << "the aspect is kept";
    auto at = [&](int x, int y) { return page.pixelColor(left + int(x * scale), top + int(y * scale)); };

    EXPECT_TRUE(near(at(8 + 300, 8 + 400), QColor(0, 0, 255))) << "the coloured picture is on the sheet";
    EXPECT_TRUE(near(at(8 + 300, 8 + 795), QColor(0, 0, 255)));
    int ink = 0;
    for (int y = 10; y < 40; ++y)
        for (int x = 10; x < 290; ++x) ink += at(x, y).lightness() < 110;
    EXPECT_GT(ink, 30) << "the title ПЯТНУШКИ stands in the copy's corner";
}
