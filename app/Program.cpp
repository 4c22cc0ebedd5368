#include "app/Program.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QScreen>
#include <QStyleFactory>

#include "app/WindowSet.h"
#include "platform/Desktop.h"
#include "platform/QtServices.h"
#include "platform/SdlMultimedia.h"
#include "platform/core/ClockRandom.h"

namespace app {

int run(int argc, char** argv) {
    QApplication application(argc, argv);
    // Sounds and pictures are named by bare file names beside the program.
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setWindowIcon(QIcon("pyatnushki.png"));

    QWidget* messageOwner = nullptr;
    platform::QtMessage message(messageOwner);
    platform::StageScreen screen;
    platform::SdlMultimedia multimedia(message);
    platform::QtPrinter printer;
    platform::DesktopBrowser browser;
    platform::QtBeep beep;
    platform::ClockRandom random;
    platform::QtTimers timers;
    platform::Desktop desktop({message, screen, multimedia, printer, browser, beep, random, timers});
    messageOwner = &desktop.stage();

    WindowSet windows(desktop);
    desktop.onEnded = [] { QCoreApplication::exit(0); };

    // The stage covers the whole monitor; on a 1280 x 1024 monitor it is the screen itself.
    platform::Stage& stage = desktop.stage();
    stage.setWindowFlag(Qt::FramelessWindowHint);
    stage.setGeometry(QGuiApplication::primaryScreen()->geometry());
    stage.show();

    windows.form5.show();
    if (desktop.ended()) return 0;
    return QApplication::exec();
}

}  // namespace app
