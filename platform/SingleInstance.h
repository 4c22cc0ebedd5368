#pragma once
#include <functional>
#include <memory>
#include <string>

class QLocalServer;

namespace platform {

// One running copy of the program per user. The first copy holds a lock file
// (the kernel drops the lock when the copy ends, however it ends, so a crash
// cannot leave it stuck) and listens on a local socket beside it; a later copy
// finds the lock taken, asks the first to come to the front, and leaves.
class SingleInstance {
public:
    // folder: where the lock and the socket live ($XDG_RUNTIME_DIR, or a private
    // folder under the system's temporary folder when that is not set).
    explicit SingleInstance(std::string folder = defaultFolder());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this is the copy that runs; false when another runs already and
    // has been asked to come forward.
    bool claim();
    // Called in the running copy whenever another copy was started.
    std::function<void()> anotherStarted;

    static std::string defaultFolder();

private:
    std::string lockPath_, socketPath_;
    int lockFd_ = -1;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace platform
