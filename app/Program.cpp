#include "app/Program.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QScreen>
#include <QStyleFactory>
#include <cstdio>
#include <optional>
#include <string>

#include "app/WindowSet.h"
#include "pictures/core/GalleryFolder.h"
#include "platform/Desktop.h"
#include "platform/Font.h"
#include "platform/ImageFiles.h"
#include "platform/ProgramFonts.h"
#include "platform/QtServices.h"
#include "platform/SdlMultimedia.h"
#include "platform/SessionBusAhead.h"
#include "platform/SingleInstance.h"
#include "platform/core/ClockRandom.h"
#include "platform/core/Sounds.h"

namespace app {

namespace {

struct Options {
    std::string printToPdf;  // a folder for the sheets instead of the printer
};

// Read before the application starts, so "--help" works without a screen.
// Returns the exit status when the program is not to run.
std::optional<int> readOptions(int argc, char** argv, Options& options) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8("Пятнушки: раскраска, сказки и игры для детей."));
    const QCommandLineOption help({"h", "help"}, QString::fromUtf8("Показать эту справку."));
    const QCommandLineOption pdf("print-to-pdf",
                                 QString::fromUtf8("Печатать каждый лист в новый PDF-файл в папке DIR "
                                                   "(sheet-001.pdf, sheet-002.pdf, …) вместо принтера."),
                                 "DIR");
    parser.addOption(help);
    parser.addOption(pdf);
    // Options of our own only: Qt's (-platform, -style, …) pass on to the application.
    if (!parser.parse(arguments) && parser.unknownOptionNames().isEmpty()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(help)) {
        // Without an application object the parser does not know the program's name.
        const QString name = arguments.isEmpty() ? QString("pyatnushki") : QFileInfo(arguments.front()).fileName();
        std::fputs(qUtf8Printable(parser.helpText().replace("<executable_name>", name)), stdout);
        return 0;
    }
    if (parser.isSet(pdf)) options.printToPdf = QDir(parser.value(pdf)).absolutePath().toStdString();
    return std::nullopt;
}

// What the program reads lies beside the binary in the build tree, and in
// <prefix>/share/pyatnushki when it is installed.
QString programFolder() {
    const QDir binary(QCoreApplication::applicationDirPath());
    const QString installed = QDir::cleanPath(binary.absoluteFilePath(PYATNUSHKI_INSTALLED_FOLDER));
    return QDir(installed).exists("data") ? installed : binary.absolutePath();
}

}  // namespace

int run(int argc, char** argv) {
    Options options;
    if (const auto status = readOptions(argc, argv, options)) return *status;

    // While this thread is the only one.
    platform::SdlMultimedia::nameProgramForMixer();
    platform::SessionBusAhead bus;
    // Before anything reads a font.
    platform::useProgramFonts();
    QApplication application(argc, argv);
    platform::FontsAhead fonts;
    // A second start brings the running copy forward instead of opening another,
    // so two copies never save the same slots; it is told before anything else is done.
    platform::SingleInstance instance;
    if (!instance.claim()) return 0;

    // Sounds and pictures are named by bare file names in the program's folder.
    QDir::setCurrent(programFolder());
    // The child's pictures live in the user's own folder; slots never saved read
    // as the starting pictures that come with the program.
    std::optional<pictures::FileError> galleryProblem;
    if (const auto folder = pictures::userGalleryFolder()) {
        galleryProblem = pictures::prepareGalleryFolder(*folder);
        pictures::useGalleryFolder(*folder);
    }
    QApplication::setStyle(QStyleFactory::create("Fusion"));

    QWidget* messageOwner = nullptr;
    platform::QtMessage message(messageOwner);
    platform::StageScreen screen;
    platform::SdlMultimedia multimedia(message);
    platform::QtPrinter printer = options.printToPdf.empty()
                                      ? platform::QtPrinter(message)
                                      : platform::QtPrinter(message, platform::PdfFolder{options.printToPdf});
    platform::DesktopBrowser browser;
    platform::QtBeep beep(multimedia);  // through the program's own sound output
    platform::ClockRandom random;
    platform::QtTimers timers;
    platform::Desktop desktop({message, screen, multimedia, printer, browser, beep, random, timers});
    messageOwner = &desktop.stage();

    WindowSet windows(desktop);
    desktop.onEnded = [] { QCoreApplication::exit(0); };

    // The stage covers the whole monitor; on a 1280 x 1024 monitor it is the screen itself.
    platform::Stage& stage = desktop.stage();
    // The sound device and the tune are made ready while the welcome window is
    // up, so the main window and its music come at once after "В игру !!!"; not
    // before the window is on the screen, whose first frame would share the
    // processor with the synthesizer.
    stage.firstFrameShown = [&multimedia] {
        multimedia.prepare(platform::sounds::kMusicFile);
        // The desktop's icon for the program is no part of that frame either.
        QApplication::setWindowIcon(QIcon(platform::imageFile("pyatnushki.png")));
    };
    stage.setWindowFlag(Qt::FramelessWindowHint);
    stage.setGeometry(QGuiApplication::primaryScreen()->geometry());
    stage.prepareFrameBuffer();
    stage.show();
    instance.anotherStarted = [&stage] {
        stage.setWindowState(stage.windowState() & ~Qt::WindowMinimized);
        stage.show();
        stage.raise();
        stage.activateWindow();
    };

    windows.form5.show();
    if (galleryProblem) message.message(galleryProblem->message);
    if (desktop.ended()) return 0;
    return QApplication::exec();
}

}  // namespace app
