#pragma once
// The real services over Qt and the desktop.
#include <QImage>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Services.h"

class QWidget;

namespace platform {

class Form;
class SdlMultimedia;
class Stage;

// A modal box over the stage with one OK button and the program's title.
class QtMessage : public MessageService {
public:
    explicit QtMessage(QWidget*& owner) : owner_(owner) {}
    void message(std::string_view text) override;

private:
    QWidget*& owner_;
};

// The windows are laid out on the stage, whatever the monitor's size.
class StageScreen : public ScreenService {
public:
    ScreenSize screenSize() override;
};

// A folder that takes every printed sheet as a PDF file of its own.
struct PdfFolder {
    std::string path;
};

// The default printer. Without one a sheet is not lost: it becomes a PDF in the
// family's folder (familyFolder()), a picture's as a file of its own and a
// tale's pages, as they come, into one booklet for each reading of the tale,
// rewritten whole with every page so that a crash keeps the pages so far; the
// first time, a message says where the sheets go. With a PdfFolder every sheet
// is a new file sheet-001.pdf, sheet-002.pdf, … there, skipping names already
// taken. Each sheet is scaled to fit one page with its aspect kept. A PDF counts
// as printed only once the whole file is on the disk; one that could not be
// written whole is removed and the reason told.
class QtPrinter : public PrinterService {
public:
    explicit QtPrinter(MessageService& messages) : messages_(messages) {}
    QtPrinter(MessageService& messages, PdfFolder folder) : messages_(messages), pdfFolder_(std::move(folder.path)) {}
    std::optional<std::string> printSheet(const QImage& image, const Sheet& sheet) override;

private:
    std::optional<std::string> printToFolder(const QImage& image);
    std::optional<std::string> printForFamily(const QImage& image, const Sheet& sheet);

    MessageService& messages_;
    std::string pdfFolder_;
    int lastNumber_ = 0;
    bool told_ = false;  // where the sheets go, said once
    // The booklet of the tale being read, while it grows page by page.
    struct Booklet {
        std::string title;
        int lastPage = 0;
        std::filesystem::path file;
        std::vector<QImage> pages;
    };
    std::optional<Booklet> booklet_;
};

// Prints the window's client area as the screen shows it now, one sheet, on the
// window's printer service. Returns the reason when nothing was printed.
std::optional<std::string> printClientArea(Form& window, const Sheet& sheet);

class DesktopBrowser : public BrowserService {
public:
    void open(std::string_view address) override;
};

// A short, soft beep through the program's own sound output; the desktop's
// bell, which most desktops keep silent, only when that cannot play it.
class QtBeep : public BeepService {
public:
    QtBeep() = default;  // the desktop's bell only
    explicit QtBeep(SdlMultimedia& sound, std::string file = "beep.wav") : sound_(&sound), file_(std::move(file)) {}
    void beep() override;

private:
    SdlMultimedia* sound_ = nullptr;
    std::string file_;
};

class QtTimers : public TimerDriver {
public:
    std::unique_ptr<TimerSource> create(std::function<void()> tick) override;
};

}  // namespace platform
