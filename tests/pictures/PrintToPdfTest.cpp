// Printing for real: the main window goes through Qt's print support into a PDF,
// which pdftoppm turns back into an image to look at.
#include <gtest/gtest.h>


#include "app/WindowSet.h"
#include "platform/QtServices.h"
#include "tests/pictures/ProgramFolder.h"
#include "tests/support/Harness.h"
#include "tests/support/PrintedSheet.h"
#include "tests/support/NoLeakCheck.h"

using namespace platform;
using testing_support::near;
using testing_support::PrintedSheet;
using testing_support::ProgramFolder;

namespace {

}  // namespace

TEST(PrintToPdfTest, TheSheetShowsTheWindowWithTheColouredCopyAndTheTitleInItsCorner) {
    ProgramFolder folder;
    // A 600 x 800 picture, white but for a black frame; filled blue below.
    std::vector<std::string> rows(800, "0" + std::string(598, '1') + "0");
    rows.front() = rows.back() = std::string(600, '0');
    ProgramFolder::writeLibrary(3, "Лиса", rows);

    fakes::FakeServices fakes;
    QtPrinter pdf(fakes.message, PdfFolder{(folder.root() / "sheets").string()});
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

    const PrintedSheet printed = PrintedSheet::read(QString::fromStdString((folder.root() / "sheets" / "sheet-001.pdf").string()));
    ASSERT_TRUE(printed.found()) << "pdftoppm could not render the sheet";
    EXPECT_GT(printed.page.width(), printed.page.height()) << "the sheet is printed across the page";
    EXPECT_NEAR(printed.stageHeight(), 1024, 12) << "the aspect is kept";
    const auto at = [&](int x, int y) { return printed.at(x, y); };

    EXPECT_TRUE(near(at(8 + 300, 8 + 400), QColor(0, 0, 255))) << "the coloured picture is on the sheet";
    EXPECT_TRUE(near(at(8 + 300, 8 + 795), QColor(0, 0, 255)));
    EXPECT_GT(printed.ink(10, 10, 280, 30, 1), 30) << "the title ПЯТНУШКИ stands in the copy's corner";
}
