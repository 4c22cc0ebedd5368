#pragma once
// The real services over Qt and the desktop.
#include <memory>
#include <string>

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

// The default printer, or a new PDF file in a folder for every sheet
// (sheet-001.pdf, sheet-002.pdf, …, skipping names already taken, so nothing is
// overwritten). Each sheet is scaled to fit one page with its aspect kept. A PDF
// sheet counts as printed only once the whole file is on the disk; one that
// could not be written whole is removed and the reason told.
class QtPrinter : public PrinterService {
public:
    QtPrinter() = default;
    explicit QtPrinter(PdfFolder folder) : pdfFolder_(std::move(folder.path)) {}
    std::optional<std::string> printSheet(const QImage& sheet) override;

private:
    std::optional<std::string> printToFolder(const QImage& sheet);
    std::string pdfFolder_;
    int lastNumber_ = 0;
};

// Prints the window's client area as the screen shows it now, one sheet, on the
// window's printer service. Returns the reason when nothing was printed.
std::optional<std::string> printClientArea(Form& window);

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
