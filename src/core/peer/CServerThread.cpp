#include "core/peer/CServerThread.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "core/platform/ProgramDirectory.h"
#include "core/platform/Ui.h"
#include "ids_peer.h"

namespace tl {
namespace {

// A pause after a failed accept, so a lasting failure (no descriptors left) cannot spin.
constexpr std::chrono::milliseconds kAcceptRetryPause{20};

// A file of the products directory opened for serving, closed with the object.
class ServedFile {
public:
    explicit ServedFile(const std::string& path)
        // Non-blocking, so that a named pipe put in the folder cannot hold the server.
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~ServedFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    ServedFile(const ServedFile&) = delete;
    ServedFile& operator=(const ServedFile&) = delete;

    // The size of a regular file; nothing for a file that is missing, unreadable or a folder.
    std::optional<std::uint64_t> regularFileSize() const {
        struct stat status {};
        if (fd_ < 0 || ::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
        return static_cast<std::uint64_t>(status.st_size);
    }

    int fd() const { return fd_; }

private:
    int fd_;
};

}  // namespace

CServerThread::CServerThread(Settings settings) : settings_(std::move(settings)) {}

CServerThread::~CServerThread() {
    stop();
}

bool CServerThread::start() {
    if (thread_.joinable()) return true;
    listening_ = listenOn(settings_.bindAddress, settings_.port, kBacklog);
    if (!listening_.valid() || ::pipe2(wakePipe_, O_CLOEXEC) != 0) {
        listening_.close();
        ui().messageBox("", res::kServerPortNotStartedText);
        return false;
    }
    port_ = localPort(listening_);
    stopping_ = false;
    thread_ = std::thread([this] { serve(); });
    // The router is asked beside serving, so that a slow or missing router delays no request.
    if (settings_.router) mapping_ = std::make_unique<RouterPortMapping>(port_, *settings_.router);
    return true;
}

void CServerThread::stop() {
    if (!thread_.joinable()) return;
    stopping_ = true;
    const char wake = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakePipe_[1], &wake, 1);
    {
        std::lock_guard lock(connectionMutex_);
        if (servedFd_ >= 0) ::shutdown(servedFd_, SHUT_RDWR);
    }
    thread_.join();
    mapping_.reset();  // removes the mapping it made
    listening_.close();
    for (int& fd : wakePipe_) ::close(std::exchange(fd, -1));
}

void CServerThread::serve() {
    while (!stopping_) {
        pollfd waits[2] = {{listening_.fd(), POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0) {
            if (errno != EINTR) std::this_thread::sleep_for(kAcceptRetryPause);
            continue;
        }
        if (waits[1].revents != 0) break;
        if (waits[0].revents == 0) continue;
        Socket connection = acceptConnection(listening_);
        if (connection.valid()) {
            serveConnection(std::move(connection));
        } else {
            std::this_thread::sleep_for(kAcceptRetryPause);
        }
    }
}

void CServerThread::serveConnection(Socket connection) {
    {
        std::lock_guard lock(connectionMutex_);
        if (stopping_) return;
        servedFd_ = connection.fd();
    }
    answerRequest(connection.fd());
    std::lock_guard lock(connectionMutex_);
    servedFd_ = -1;
}

void CServerThread::answerRequest(int fd) {
    SocketChannel channel(fd, settings_.requestTimeout);
    channel.setDeadline(std::chrono::steady_clock::now() + settings_.requestTimeout);
    const std::optional<std::string> name = receiveFileRequest(channel);
    // A name that would leave the products directory is answered like a missing file.
    if (!name || !isSafeRelativeName(*name)) return;
    channel.setDeadline(std::nullopt);

    const ServedFile file(joinStoredName(productsDirectory(), *name));
    const std::optional<std::uint64_t> size = file.regularFileSize();
    if (!size) return;
    if (channel.sendAll(encodeReplyLength(*size)))
        sendFileContents(fd, file.fd(), settings_.requestTimeout);
}

}  // namespace tl
