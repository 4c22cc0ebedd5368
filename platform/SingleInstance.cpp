#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QSocketNotifier>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/core/UserFolders.h"

namespace platform {

namespace {

// The socket's address, or nothing when the path is too long for one; the lock
// still keeps a second copy out, it only cannot bring the first forward then.
std::optional<sockaddr_un> addressOf(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return std::nullopt;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

void askToTheFront(const sockaddr_un& address) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    // A copy that listens takes the connection into its backlog at once, busy
    // or not; the few bytes fit the socket's buffer, so nothing here waits.
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        static constexpr char kFront[] = "front\n";
        [[maybe_unused]] const ssize_t sent = ::send(fd, kFront, sizeof kFront - 1, MSG_NOSIGNAL);
    }
    ::close(fd);
}

}  // namespace

std::string SingleInstance::defaultFolder() {
    if (const auto folder = userDataFolder()) return folder->string();
    const std::string folder = QDir::tempPath().toStdString() + "/pyatnushki-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);  // private: nobody else's lock can stand in for ours
    return folder;
}

SingleInstance::SingleInstance(std::string folder)
    : folder_(std::move(folder)), lockPath_(folder_ + "/.pyatnushki.lock"), socketPath_(folder_ + "/.pyatnushki.socket") {}

SingleInstance::~SingleInstance() {
    listening_.reset();
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(socketPath_.c_str());  // still ours: the lock is held until below
    }
    if (lockFd_ >= 0) ::close(lockFd_);
}

bool SingleInstance::claim() {
    std::error_code ignored;  // a folder that cannot be made leaves no lock, handled below
    std::filesystem::create_directories(folder_, ignored);
    lockFd_ = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Without a place for the lock the program still runs: one copy too many is
    // better than none.
    if (lockFd_ < 0) return true;
    const auto address = addressOf(socketPath_);
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        if (address) askToTheFront(*address);
        return false;
    }
    if (!address) return true;
    // Holding the lock, any socket left there belongs to a copy that has ended.
    ::unlink(socketPath_.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return true;
    const mode_t mask = ::umask(0077);  // the socket is the user's alone
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0;
    ::umask(mask);
    if (!bound || ::listen(fd, 8) != 0) {
        ::close(fd);
        return true;
    }
    listenFd_ = fd;
    listening_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(listening_.get(), &QSocketNotifier::activated, listening_.get(), [this] {
        // What the other copy sent does not matter: its coming is the message.
        int peer;
        while ((peer = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0) ::close(peer);
        if (anotherStarted) anotherStarted();
    });
    return true;
}

}  // namespace platform
