#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QImage;

namespace platform {

struct ScreenSize {
    int width = 0;
    int height = 0;
    bool operator==(const ScreenSize&) const = default;
};

// A modal message with one OK button and the program's title as caption.
// Returns when the user has dismissed it (OK, close box or Escape all count as OK).
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual void message(std::string_view text) = 0;
};

// Width and height of the screen the windows are laid out on, in pixels.
class ScreenService {
public:
    virtual ~ScreenService() = default;
    virtual ScreenSize screenSize() = 0;
};

// The textual multimedia command interface: "play kn.wav", "close fon.mid", ...
// Reports its own failures; the caller always goes on.
class MultimediaService {
public:
    virtual ~MultimediaService() = default;
    virtual void execute(std::string_view command) = 0;
};

// Prints one sheet: the image of a window's client area, scaled to fit the page.
// Returns an error text (Russian, for the user) when the sheet could not be printed.
// What a printed sheet is: the picture's or the tale's title, and for a tale's
// page its number (from 1), so that without a printer the pages of one reading
// of a tale make one booklet.
struct Sheet {
    std::string title;
    int page = 0;  // 0: a sheet of its own
};

class PrinterService {
public:
    virtual ~PrinterService() = default;
    // Nothing when the sheet is printed, else the reason it was not.
    virtual std::optional<std::string> printSheet(const QImage& image, const Sheet& sheet) = 0;
};

// Opens an address in the desktop's web browser without waiting for it.
class BrowserService {
public:
    virtual ~BrowserService() = default;
    virtual void open(std::string_view address) = 0;
};

class BeepService {
public:
    virtual ~BeepService() = default;
    virtual void beep() = 0;
};

// Uniform fractions in [0, 1).
class RandomService {
public:
    virtual ~RandomService() = default;
    virtual void seedFromClock() = 0;
    virtual double next() = 0;
    // A whole number from 0 to n - 1: a fraction times n, rounded down.
    int below(int n) { return static_cast<int>(next() * n); }
};

// One timer: ticks every interval while enabled. An interval of 0 never ticks.
// Changing either setting starts the interval anew, as a restarted timer would.
class TimerSource {
public:
    virtual ~TimerSource() = default;
    virtual void set(int intervalMs, bool enabled) = 0;
    // The timer's window is hidden, or shown again. A hidden window's ticks
    // change only what nobody sees, so a source may serve them in batches
    // (every tick owed, in order, fewer wake-ups); showing the window pays
    // what is owed and returns to single ticks.
    virtual void setUnseen(bool) {}
};

class TimerDriver {
public:
    virtual ~TimerDriver() = default;
    virtual std::unique_ptr<TimerSource> create(std::function<void()> tick) = 0;
};

// Everything a window may ask of the platform besides its own controls.
struct Services {
    MessageService& message;
    ScreenService& screen;
    MultimediaService& multimedia;
    PrinterService& printer;
    BrowserService& browser;
    BeepService& beep;
    RandomService& random;
    TimerDriver& timers;
};

}  // namespace platform
