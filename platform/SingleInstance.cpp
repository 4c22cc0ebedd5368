#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <filesystem>
#include <system_error>

#include "platform/core/UserFolders.h"

namespace platform {

namespace {

constexpr int kAnswerMs = 2000;

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
    server_.reset();
    if (lockFd_ >= 0) ::close(lockFd_);
}

bool SingleInstance::claim() {
    std::error_code ignored;  // a folder that cannot be made leaves no lock, handled below
    std::filesystem::create_directories(folder_, ignored);
    lockFd_ = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Without a place for the lock the program still runs: one copy too many is
    // better than none.
    if (lockFd_ < 0) return true;
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(socketPath_));
        if (socket.waitForConnected(kAnswerMs)) {
            socket.write("front\n");
            socket.waitForBytesWritten(kAnswerMs);
            socket.disconnectFromServer();
        }
        return false;
    }
    // Holding the lock, any socket left there belongs to a copy that has ended.
    QLocalServer::removeServer(QString::fromStdString(socketPath_));
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* peer = server_->nextPendingConnection()) {
            QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        }
        if (anotherStarted) anotherStarted();
    });
    server_->listen(QString::fromStdString(socketPath_));
    return true;
}

}  // namespace platform
