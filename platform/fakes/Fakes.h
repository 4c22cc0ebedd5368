#pragma once
// Deterministic stand-ins for the platform services, for headless tests.
#include <QImage>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/Services.h"
#include "platform/fakes/ManualTimers.h"

namespace platform::fakes {

// Records every message; each one is answered with OK at once. A test may hook
// onMessage to act while the box is up (for example, change the fake screen).
class FakeMessage : public MessageService {
public:
    void message(std::string_view text) override;
    std::vector<std::string> shown;
    std::function<void(const std::string&)> onMessage;
};

class FakeScreen : public ScreenService {
public:
    ScreenSize screenSize() override { return size; }
    ScreenSize size{1280, 1024};
};

// Records the commands in the order they were sent.
class FakeMultimedia : public MultimediaService {
public:
    void execute(std::string_view command) override { commands.emplace_back(command); }
    std::vector<std::string> commands;
};

// Keeps every printed sheet; fails with failWith when it is set.
class FakePrinter : public PrinterService {
public:
    std::optional<std::string> printSheet(const QImage& image, const Sheet& sheet) override;
    std::vector<QImage> sheets;
    std::vector<Sheet> about;  // what each sheet was
    std::optional<std::string> failWith;
};

class FakeBrowser : public BrowserService {
public:
    void open(std::string_view address) override { opened.emplace_back(address); }
    std::vector<std::string> opened;
};

class FakeBeep : public BeepService {
public:
    void beep() override { ++count; }
    int count = 0;
};

// Gives the scripted fractions first, then a fixed-seed sequence.
class FakeRandom : public RandomService {
public:
    void seedFromClock() override { ++seeds; }
    double next() override;
    std::deque<double> script;
    int seeds = 0;

private:
    unsigned state_ = 12345u;
};

// All fakes in one place, with the Services bundle the windows take.
struct FakeServices {
    FakeMessage message;
    FakeScreen screen;
    FakeMultimedia multimedia;
    FakePrinter printer;
    FakeBrowser browser;
    FakeBeep beep;
    FakeRandom random;
    ManualTimers timers;

    Services services() { return Services{message, screen, multimedia, printer, browser, beep, random, timers}; }
};

}  // namespace platform::fakes
