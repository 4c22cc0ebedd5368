#pragma once
#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

namespace platform {

// One running copy of the program per user, in whichever session it starts. The
// first copy holds a lock file in the user's own folder of the program (the
// kernel drops the lock when the copy ends, however it ends, so a crash cannot
// leave it stuck) and listens on a local socket beside it (a plain Unix
// socket: Qt's network module would bring a dozen libraries into the start); a later copy finds
// the lock taken, asks the first to come to the front, and leaves.
class SingleInstance {
public:
    // folder: where the lock and the socket live, made when missing: the user's
    // data folder of the program, or without a home a private folder under the
    // system's temporary folder.
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
    std::string folder_, lockPath_, socketPath_;
    int lockFd_ = -1;
    int listenFd_ = -1;
    std::unique_ptr<QSocketNotifier> listening_;
};

}  // namespace platform
