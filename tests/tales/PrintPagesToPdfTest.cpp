// Tale pages printed for real: through Qt's print support into PDF files, one
// new file per sheet in a folder, turned back into images by pdftoppm.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "app/WindowSet.h"
#include "platform/QtServices.h"
#include "tales/core/TaleCatalogue.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/Harness.h"
#include "tests/support/PrintedSheet.h"
#include "tests/support/NoLeakCheck.h"
#include "tests/support/PrivateHome.h"

using namespace platform;
using testing_support::near;
using testing_support::PrintedSheet;

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The tale window on a printer that writes PDF files into a folder.
struct PrintPagesToPdfTest : ::testing::Test {
    QTemporaryDir folder;
    fakes::FakeServices fakes;
    QtPrinter printer{fakes.message, PdfFolder{folder.filePath("sheets").toStdString()}};
    Desktop desktop{Services{fakes.message, fakes.screen, fakes.multimedia, printer, fakes.browser, fakes.beep,
                             fakes.random, fakes.timers}};
    app::WindowSet w{desktop};

    PrintPagesToPdfTest() {
        w.form5.show();
        w.form5.Command1->click();
        w.form1.Command7->click();
        w.form10.Command1(1).click();  // "Лиса и кувшин"
    }
    QString sheet(int n) const { return folder.filePath(QString("sheets/sheet-%1.pdf").arg(n, 3, 10, QChar('0'))); }
    void fill(int x, int y, ColourNumber colour) {
        canvas::CanvasComponent& c = w.form17.canvas;
        c.state().CurrentColor = colour;
        PictureBox& p = *c.Picture1;
        p.changed(c.state().press(p.pixels(), x, y, kBlack, p.width(), p.height()));
    }
};

}  // namespace

TEST_F(PrintPagesToPdfTest, APageTurnPrintsTheTitleTheDrawingAndThePageText) {
    ASSERT_TRUE(w.form17.visible());
    fill(300, 300, rgb(255, 0, 0));
    w.form17.Command2->click();
    ASSERT_TRUE(fakes.message.shown.empty()) << fakes.message.shown.front();

    const PrintedSheet printed = PrintedSheet::read(sheet(1));
    ASSERT_TRUE(printed.found()) << "pdftoppm could not render " << sheet(1).toStdString();
    EXPECT_GT(printed.page.width(), printed.page.height()) << "the sheet is printed across the page";
    EXPECT_NEAR(printed.stageHeight(), 1024, 12) << "the aspect is kept";
    const auto at = [&](int x, int y) { return printed.at(x, y); };
    const auto ink = [&](int x, int y, int width, int height) { return printed.ink(x, y, width, height); };

    EXPECT_TRUE(near(at(8 + 300, 80 + 300), QColor(255, 0, 0))) << "the drawing is on the sheet";
    EXPECT_TRUE(near(at(8 + 700, 80 + 700), QColor(255, 0, 0)));
    EXPECT_GT(ink(100, 20, 600, 50), 30) << "the title";
    EXPECT_GT(ink(16, 850, 769, 150), 30) << "the page text";

    EXPECT_FALSE(w.form17.Picture3->visible());
    EXPECT_EQ(w.form17.canvas.Picture1->pixel(300, 300), kWhite) << "the next page starts blank";
}

TEST_F(PrintPagesToPdfTest, EverySheetIsANewNumberedFileAndNoneIsOverwritten) {
    QDir().mkpath(folder.filePath("sheets"));
    QFile earlier(sheet(2));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("left from an earlier run");
    earlier.close();

    w.form17.Command2->click();
    w.form17.Command2->click();
    ASSERT_TRUE(fakes.message.shown.empty()) << fakes.message.shown.front();
    EXPECT_TRUE(contents(sheet(1)).startsWith("%PDF"));
    EXPECT_EQ(contents(sheet(2)), QByteArray("left from an earlier run"));
    EXPECT_TRUE(contents(sheet(3)).startsWith("%PDF")) << "the second sheet skips the name already taken";
    EXPECT_FALSE(QFile::exists(sheet(4)));
    EXPECT_EQ(w.form17.PageCounter, 2);
}

TEST_F(PrintPagesToPdfTest, AFolderThatCannotBeMadeIsToldAndThePageStays) {
    // A file where the folder should be.
    QFile blocker(folder.filePath("sheets"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    fill(300, 300, rgb(255, 0, 0));

    w.form17.Command2->click();
    ASSERT_EQ(fakes.message.shown.size(), 1u);
    EXPECT_NE(fakes.message.shown[0].find("не напечатан"), std::string::npos) << fakes.message.shown[0];
    EXPECT_NE(fakes.message.shown[0].find("sheets"), std::string::npos) << "the message names the folder";
    EXPECT_EQ(w.form17.PageCounter, 0);
    EXPECT_EQ(w.form17.canvas.Picture1->pixel(300, 300), rgb(255, 0, 0));
    EXPECT_FALSE(w.form17.Picture3->visible());
}

TEST_F(PrintPagesToPdfTest, AFullDiskPrintsNoSheetAndThePageAndItsDrawingStay) {
    fill(300, 300, rgb(255, 0, 0));
    {
        const testing_support::FileSizeLimit full(4096);  // the disk fills up while the sheet is written
        w.form17.Command2->click();
    }
    ASSERT_EQ(fakes.message.shown.size(), 1u);
    EXPECT_NE(fakes.message.shown[0].find("на диске не хватает места"), std::string::npos) << fakes.message.shown[0];
    EXPECT_TRUE(QDir(folder.filePath("sheets")).entryList(QDir::Files).isEmpty()) << "no partial sheet is left";
    EXPECT_EQ(w.form17.PageCounter, 0);
    EXPECT_EQ(w.form17.canvas.Picture1->pixel(300, 300), rgb(255, 0, 0));

    w.form17.Command2->click();  // room again: the same page prints
    EXPECT_TRUE(contents(sheet(1)).startsWith("%PDF"));
    EXPECT_EQ(w.form17.PageCounter, 1);
}

// Without a printer the sheets are not lost: a tale read to its end is one
// booklet of its pages, a picture a PDF of its own, both in the Pictures folder.
TEST(PrintWithoutAPrinterTest, ATalesPagesMakeOneBookletAndAPictureAFileOfItsOwn) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
    testing_support::PrivateHome home;
    fakes::FakeServices fakes;
    QtPrinter printer{fakes.message};
    Desktop desktop{Services{fakes.message, fakes.screen, fakes.multimedia, printer, fakes.browser, fakes.beep,
                             fakes.random, fakes.timers}};
    app::WindowSet w{desktop};
    w.form5.show();
    w.form5.Command1->click();
    w.form1.Command6->click();  // "печать рисунка"
    ASSERT_EQ(fakes.message.shown.size(), 1u) << "where the sheets go, said once";
    EXPECT_NE(fakes.message.shown[0].find("Пятнушки"), std::string::npos) << fakes.message.shown[0];

    w.form1.Command7->click();
    w.form10.Command1(1).click();  // "Лиса и кувшин", three pages
    for (int page = 0; page < 3; ++page) w.form17.Command2->click();
    EXPECT_EQ(fakes.message.shown.size(), 1u);
    ASSERT_TRUE(w.form1.visible()) << "the tale was read to its end";

    const QDir family(QString::fromStdString((home.path() / "Pictures" / "Пятнушки").string()));
    const QStringList files = family.entryList({"*.pdf"}, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 2) << files.join(", ").toStdString();
    const auto pagesOf = [&](const QString& file) {
        QProcess info;
        info.start("pdfinfo", {family.filePath(file)});
        info.waitForFinished(10000);
        const QString text = QString::fromUtf8(info.readAllStandardOutput());
        const qsizetype at = text.indexOf("Pages:");
        return at < 0 ? -1 : text.mid(at + 6).section('\n', 0, 0).trimmed().toInt();
    };
    const QString booklet = files.filter("Лиса и кувшин").value(0);
    const QString picture = files.value(files.indexOf(booklet) == 0 ? 1 : 0);  // named by the main window's title
    EXPECT_EQ(pagesOf(booklet), 3) << booklet.toStdString();
    EXPECT_EQ(pagesOf(picture), 1) << picture.toStdString();
    const PrintedSheet first = PrintedSheet::read(family.filePath(booklet));
    ASSERT_TRUE(first.found());
    EXPECT_GT(first.ink(100, 20, 600, 50), 30) << "the tale's title on its first page";
}
