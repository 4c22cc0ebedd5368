// The yardstick for the program's start: a bare Qt Widgets window, frameless and
// as large as the screen, painted in one plain colour, and nothing else. The
// start-up script times its first frame beside the program's.
#include <QApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowFlag(Qt::FramelessWindowHint);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0, 0, 255));  // the colour the script watches for
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.show();
    return QApplication::exec();
}
