#include "platform/QtServices.h"

#include <QApplication>
#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cerrno>
#include <ctime>
#include <variant>
#include <memory>

#include "platform/Desktop.h"
#include "platform/Form.h"
#include "platform/FramePacer.h"
#include "platform/ModalScope.h"
#include "platform/SdlMultimedia.h"
#include "platform/FamilyFiles.h"
#include "platform/core/Files.h"

namespace platform {

void QtMessage::message(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8("Пятнушки"),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok, owner_);
    box.setEscapeButton(QMessageBox::Ok);
    const ModalScope nested;
    box.exec();
}

ScreenSize StageScreen::screenSize() { return {Stage::kWidth, Stage::kHeight}; }

namespace {

// The sheet scaled to fit the page with its aspect kept; the window is wider
// than high, so the page is turned to fill more of it.
void paintSheet(const QImage& sheet, QPainter& painter) {
    const QRect page = painter.viewport();
    const QSize fitted = sheet.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(page.topLeft(), fitted), sheet);
}

QPageLayout::Orientation orientationFor(const QImage& sheet) {
    return sheet.width() > sheet.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// The sheets as a PDF document of a page each, made in memory so that writing
// it to the disk can be checked to the last byte.
QByteArray pdfOf(const std::vector<QImage>& sheets) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setTitle(QString::fromUtf8("Пятнушки"));
        writer.setCreator(QString::fromUtf8("Пятнушки"));
        writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        if (!sheets.empty()) writer.setPageOrientation(orientationFor(sheets.front()));  // a window's sheets are alike
        QPainter painter;
        for (std::size_t i = 0; i < sheets.size(); ++i) {
            if (i == 0 ? !painter.begin(&writer) : !writer.newPage()) return {};
            paintSheet(sheets[i], painter);
        }
        if (!painter.end()) return {};
    }
    return buffer.data();
}

std::string_view bytesOf(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

std::optional<std::string> QtPrinter::printToFolder(const QImage& image) {
    const QString folder = QString::fromStdString(pdfFolder_);
    if (!QDir().mkpath(folder)) {
        return "Рисунок не напечатан: не удалось создать папку «" + pdfFolder_ + "» для листов.";
    }
    const QByteArray pdf = pdfOf({image});
    if (!pdf.startsWith("%PDF")) return std::string("Рисунок не напечатан: не удалось составить лист.");
    const QDir dir(folder);
    for (;;) {
        const QString name = dir.filePath(QString("sheet-%1.pdf").arg(++lastNumber_, 3, 10, QChar('0')));
        if (QFileInfo::exists(name)) continue;  // nothing is overwritten
        const int failure = writeNewFile(name.toStdString(), bytesOf(pdf));
        if (failure == EEXIST) continue;  // taken meanwhile by another program
        if (failure == 0) return std::nullopt;
        // The partial file is gone: a sheet counts as printed only when it is
        // whole, and the same sheet printed again takes the same name.
        --lastNumber_;
        return "Рисунок не напечатан: не удалось записать файл «" + name.toStdString() + "»: " + reasonFor(failure) + ".";
    }
}

std::optional<std::string> QtPrinter::printForFamily(const QImage& image, const Sheet& sheet) {
    // A tale's next page joins its booklet; its first page, or a page with no
    // booklet before it (a tale opened again at its page), starts one.
    const bool joins = sheet.page > 1 && booklet_ && booklet_->title == sheet.title && booklet_->lastPage == sheet.page - 1;
    Booklet booklet = joins ? *booklet_ : Booklet{sheet.title, 0, {}, {}};
    booklet.pages.push_back(image);
    booklet.lastPage = sheet.page;
    const QByteArray pdf = pdfOf(booklet.pages);
    if (!pdf.startsWith("%PDF")) return std::string("Рисунок не напечатан: не удалось составить лист.");
    std::string failure;
    if (joins) {
        if (const int error = replaceFile(booklet.file, bytesOf(pdf))) failure = reasonFor(error);
    } else {
        auto kept = keepForFamily(sheet.title, "pdf", bytesOf(pdf), std::time(nullptr));
        if (auto* file = std::get_if<std::filesystem::path>(&kept)) booklet.file = *file;
        else failure = std::get<std::string>(kept);
    }
    if (!failure.empty()) return "Рисунок не напечатан: не удалось записать его в папку для рисунков: " + failure + ".";
    const std::string folder = booklet.file.parent_path().string();
    if (sheet.page > 0) booklet_ = std::move(booklet);
    else booklet_.reset();
    if (!told_) {
        told_ = true;
        messages_.message("Принтер не найден, поэтому листы сохраняются в файлы PDF в папке «" + folder +
                          "»; страницы сказки собираются в одну книжку.");
    }
    return std::nullopt;
}

std::optional<std::string> QtPrinter::printSheet(const QImage& image, const Sheet& sheet) {
    if (!pdfFolder_.empty()) return printToFolder(image);
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) return printForFamily(image, sheet);
    QPrinter printer(target, QPrinter::HighResolution);
    printer.setDocName(QString::fromUtf8("Пятнушки"));
    printer.setPageOrientation(orientationFor(image));
    const std::string name = "принтер «" + printer.printerName().toStdString() + "»";
    QPainter painter;
    if (!painter.begin(&printer)) return "Рисунок не напечатан: " + name + " не отвечает.";
    paintSheet(image, painter);
    // A spooler that fails while the page is written says so only here.
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        return "Рисунок не напечатан: " + name + " — печать прервалась.";
    }
    return std::nullopt;
}

std::optional<std::string> printClientArea(Form& window, const Sheet& sheet) {
    QWidget* client = window.clientWidget();
    if (!client) return std::string("Рисунок не напечатан: окно уже закрыто.");
    return window.services().printer.printSheet(client->grab().toImage(), sheet);
}

void DesktopBrowser::open(std::string_view address) {
    // A bare file name is a page beside the program.
    const QString text = QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size()));
    QDesktopServices::openUrl(QUrl::fromUserInput(text, QDir::currentPath(), QUrl::AssumeLocalFile));
}

void QtBeep::beep() {
    if (sound_ != nullptr && sound_->playQuietly(file_)) return;
    QApplication::beep();
}

namespace {

// A timer faster than the screen's frames wakes once a frame and then ticks as
// often as its interval fits into the time gone by: the screen could not show
// the steps in between. While its window is hidden it wakes only every
// kUnseenWakeMs: the welcome title's hundred ticks a second would otherwise
// wake an idle program for letters nobody sees.
class QtTimer : public TimerSource {
public:
    static constexpr int kUnseenWakeMs = 250;

    explicit QtTimer(std::function<void()> tick) : tick_(std::move(tick)) {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { wake(); });
    }
    ~QtTimer() override { *alive_ = false; }
    QtTimer(const QtTimer&) = delete;
    QtTimer& operator=(const QtTimer&) = delete;

    void set(int intervalMs, bool enabled) override {
        interval_ = intervalMs;
        enabled_ = enabled;
        restart();
    }
    // Only a fast timer changes its pace; a slow one goes on undisturbed.
    void setUnseen(bool unseen) override {
        const bool wasBatching = batching();
        const int wasWaking = wakeMs();
        unseen_ = unseen;
        if (batching() == wasBatching && (!batching() || wakeMs() == wasWaking)) return;
        if (wasBatching && !payOwed()) return;
        restart();
    }

private:
    int wakeMs() const { return unseen_ ? kUnseenWakeMs : framePacer::kFrameMilliseconds; }
    bool batching() const { return enabled_ && interval_ > 0 && interval_ < wakeMs(); }

    void restart() {
        ++generation_;
        timer_.stop();
        if (!enabled_ || interval_ <= 0) return;
        timer_.setTimerType(batching() && unseen_ ? Qt::CoarseTimer : Qt::PreciseTimer);
        timer_.setInterval(batching() ? wakeMs() : interval_);
        clock_.start();
        paid_ = 0;
        timer_.start();
    }

    void wake() {
        if (batching())
            payOwed();
        else
            tick_();
    }

    // Every tick whose time has come since the last one paid, in order. A tick
    // may change the timer (stop it, set another interval) or unload its window
    // and with it this timer: then nothing more is owed. False in that case.
    bool payOwed() {
        const qint64 owed = (clock_.elapsed() - paid_) / interval_;
        paid_ += owed * interval_;
        const std::shared_ptr<bool> alive = alive_;
        const int generation = generation_;
        for (qint64 i = 0; i < owed; ++i) {
            tick_();
            if (!*alive || generation != generation_) return false;
        }
        return true;
    }

    std::function<void()> tick_;
    QTimer timer_;
    QElapsedTimer clock_;  // since the timer last started
    qint64 paid_ = 0;      // ms on that clock up to which every tick was made
    int interval_ = 0;
    bool enabled_ = false;
    bool unseen_ = false;
    int generation_ = 0;   // changes whenever the timer is set anew
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace

std::unique_ptr<TimerSource> QtTimers::create(std::function<void()> tick) { return std::make_unique<QtTimer>(std::move(tick)); }

}  // namespace platform
