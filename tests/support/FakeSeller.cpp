#include "support/FakeSeller.h"

#include <poll.h>
#include <sys/socket.h>

#include "core/peer/TransferProtocol.h"

namespace tl::test {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kPatience{5000};  // no act outlasts this

bool send(int fd, const std::string& bytes) {
    return sendAll(fd, bytes, kPatience);
}

}  // namespace

FakeSeller::FakeSeller(Act act)
    : act_(std::move(act)), listening_(listenOn("127.0.0.1", 0, 5)), port_(localPort(listening_)) {
    thread_ = std::thread([this] { serve(); });
}

FakeSeller::~FakeSeller() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    ::shutdown(listening_.fd(), SHUT_RDWR);  // wakes the accept
    thread_.join();
}

std::vector<std::string> FakeSeller::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void FakeSeller::serve() {
    for (;;) {
        Socket connection = acceptConnection(listening_);
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return;
        }
        if (!connection.valid()) continue;
        SocketChannel channel(connection.fd(), kPatience);
        const std::optional<std::string> name = receiveFileRequest(channel);
        if (!name) continue;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(*name);
        }
        act_(connection.fd(), *name);
    }
}

FakeSeller::Act serveFiles(std::map<std::string, std::string> files) {
    return [files = std::move(files)](int fd, const std::string& name) {
        if (const auto found = files.find(name); found != files.end())
            send(fd, encodeReplyLength(found->second.size()) + found->second);
    };
}

FakeSeller::Act announce(std::uint32_t length, std::string bytes) {
    return [length, bytes = std::move(bytes)](int fd, const std::string&) {
        send(fd, encodeLength(length) + bytes);
    };
}

FakeSeller::Act endlessStream(std::uint32_t length) {
    return [length](int fd, const std::string&) {
        const std::string block(65536, 'x');
        for (bool more = send(fd, encodeLength(length)); more;) more = send(fd, block);
    };
}

FakeSeller::Act trickle(std::uint32_t length, milliseconds period) {
    return [length, period](int fd, const std::string&) {
        bool more = send(fd, encodeLength(length));
        for (std::uint32_t sent = 0; more && sent < length; ++sent) {
            std::this_thread::sleep_for(period);
            more = send(fd, "t");
        }
    };
}

FakeSeller::Act silent() {
    return [](int fd, const std::string&) {
        // Until the requester closes (the socket reads as ready then) or patience runs out.
        pollfd entry{fd, POLLIN, 0};
        ::poll(&entry, 1, static_cast<int>(kPatience.count()));
    };
}

}  // namespace tl::test
