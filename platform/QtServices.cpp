#include "platform/QtServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>
#include <QUrl>

#include "platform/Desktop.h"

namespace platform {

void QtMessage::message(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8("Пятнушки"),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok, owner_);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

ScreenSize StageScreen::screenSize() { return {Stage::kWidth, Stage::kHeight}; }

std::optional<std::string> QtPrinter::printSheet(const QImage& sheet) {
    if (QPrinterInfo::defaultPrinter().isNull()) return std::string("Принтер не найден: в системе не выбран принтер по умолчанию.");
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(QString::fromUtf8("Пятнушки"));
    QPainter painter;
    if (!painter.begin(&printer)) return std::string("Не удалось начать печать на принтере «") +
                                         printer.printerName().toStdString() + "».";
    const QRect page = painter.viewport();
    const QSize fitted = sheet.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(page.topLeft(), fitted), sheet);
    if (!painter.end()) return std::string("Печать не удалась.");
    return std::nullopt;
}

void DesktopBrowser::open(std::string_view address) {
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size()))));
}

void QtBeep::beep() { QApplication::beep(); }

namespace {

class QtTimer : public TimerSource {
public:
    explicit QtTimer(std::function<void()> tick) {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, std::move(tick));
    }
    void set(int intervalMs, bool enabled) override {
        timer_.stop();
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(intervalMs);
        if (enabled && intervalMs > 0) timer_.start();
    }

private:
    QTimer timer_;
};

}  // namespace

std::unique_ptr<TimerSource> QtTimers::create(std::function<void()> tick) { return std::make_unique<QtTimer>(std::move(tick)); }

}  // namespace platform
