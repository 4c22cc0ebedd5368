#pragma once
#include <thread>

namespace platform {

// Qt's accessibility bridge connects to the desktop's session bus when the
// first window shows, and the window waits for it; where the session runs no
// bus, D-Bus first tries to start one, some tens of milliseconds. This
// connects on a thread of its own from the program's first moment, beside the
// making of the application object, so the bridge finds the answer ready.
//
// Not when a desktop's launcher started the program: making the application
// object then takes the launch's id out of the environment, which no other
// thread may be reading meanwhile, and such a session runs a bus anyway.
class SessionBusAhead {
public:
    SessionBusAhead();
    ~SessionBusAhead();
    SessionBusAhead(const SessionBusAhead&) = delete;
    SessionBusAhead& operator=(const SessionBusAhead&) = delete;

private:
    std::thread connecting_;
};

}  // namespace platform
