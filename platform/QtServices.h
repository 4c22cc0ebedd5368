#pragma once
// The real services over Qt and the desktop.
#include <memory>
#include <string>

#include "platform/core/Services.h"

class QWidget;

namespace platform {

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

// The default printer, or a PDF file when one is named; each sheet is scaled to
// fit one page with its aspect kept.
class QtPrinter : public PrinterService {
public:
    explicit QtPrinter(std::string pdfFile = {}) : pdfFile_(std::move(pdfFile)) {}
    std::optional<std::string> printSheet(const QImage& sheet) override;

private:
    std::string pdfFile_;
};

class DesktopBrowser : public BrowserService {
public:
    void open(std::string_view address) override;
};

class QtBeep : public BeepService {
public:
    void beep() override;
};

class QtTimers : public TimerDriver {
public:
    std::unique_ptr<TimerSource> create(std::function<void()> tick) override;
};

}  // namespace platform
