#include "platform/SessionBusAhead.h"

#include <QDBusConnection>
#include <QThread>
#include <cstdlib>

namespace platform {

SessionBusAhead::SessionBusAhead() {
    // Qt's X11 and Wayland integrations remove these as they start.
    if (std::getenv("DESKTOP_STARTUP_ID") || std::getenv("XDG_ACTIVATION_TOKEN")) return;
    // Qt takes the first thread that asks for its thread data for the main
    // thread, the one the application object must be made in: this one.
    QThread::currentThread();
    connecting_ = std::thread([] { QDBusConnection::sessionBus(); });
}

SessionBusAhead::~SessionBusAhead() {
    if (connecting_.joinable()) connecting_.join();
}

}  // namespace platform
