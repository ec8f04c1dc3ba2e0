#include "ConnectionFront.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tl::market {
namespace {

using std::chrono::milliseconds;
using Owned = std::unique_ptr<ClientConnection>;

constexpr std::size_t kReadChunk = 16 * 1024;
constexpr int kAcceptBatch = 64;           // then timers and finished requests get their turn
constexpr milliseconds kAcceptPause{100};  // after running out of file descriptors

void describe(const sockaddr_storage& address, socklen_t length, std::string& host, int& port) {
    char text[NI_MAXHOST] = {};
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, text, sizeof text, nullptr,
                    0, NI_NUMERICHOST) == 0)
        host = text;
    if (address.ss_family == AF_INET)
        port = ntohs(reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
    else if (address.ss_family == AF_INET6)
        port = ntohs(reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port);
}

// The request reader takes a line "\r\n" of its own as the end of the headers.
bool headEnds(const std::string& bytes) {
    return bytes.find("\n\r\n") != std::string::npos;
}

// Open connections the front allows in all, leaving descriptors for the database, the outbox
// and outgoing reachability checks.
std::size_t connectionCeiling() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 16384;
    const auto usable = static_cast<std::size_t>(limit.rlim_cur);
    return usable > 256 ? std::min<std::size_t>(usable - 128, 16384) : usable / 2;
}

// The ids of the descriptors the front itself waits on, beside its connections.
char listenerTag, wakeTag;

}  // namespace

struct ConnectionFront::Impl {
    struct Held {
        Owned connection;
        std::multimap<FrontClock::time_point, ClientConnection*>::iterator timer;
    };
    struct Address {
        int open = 0, serving = 0;
        std::deque<Owned> ready;  // head read, waiting for the address's turn
    };

    const FrontLimits limits;
    const int workerCount;
    const Serve serve;
    const std::size_t ceiling = connectionCeiling();
    const int wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    int listener = -1;
    int epoll = -1;
    std::atomic<bool> stopping{false};

    // Front thread only.
    std::unordered_map<ClientConnection*, Held> held;
    std::multimap<FrontClock::time_point, ClientConnection*> timers;
    std::unordered_map<std::string, Address> addresses;
    std::unordered_set<int> inService;
    std::size_t open = 0;
    FrontClock::time_point acceptResumes{};
    bool acceptPaused = false;

    // Shared with the workers.
    std::mutex mutex;
    std::condition_variable workAvailable;
    std::deque<Owned> work;
    std::vector<std::pair<Owned, bool>> finished;
    bool workersQuit = false;
    std::vector<std::thread> workers;

    Impl(FrontLimits l, int w, Serve s)
        : limits(std::move(l)), workerCount(w), serve(std::move(s)) {}

    ~Impl() {
        if (listener >= 0) ::close(listener);
        if (wakeFd >= 0) ::close(wakeFd);
    }

    void wake() const {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(wakeFd, &one, sizeof one);
    }

    bool exempt(const ClientConnection& c) const {
        return !limits.exemptAddress.empty() && c.peerAddress == limits.exemptAddress;
    }

    int bind(const std::string& address, int port) {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
        addrinfo* found = nullptr;
        const std::string service = std::to_string(port);
        if (getaddrinfo(address.empty() ? nullptr : address.c_str(), service.c_str(), &hints,
                        &found) != 0)
            return -1;
        for (addrinfo* a = found; a && listener < 0; a = a->ai_next) {
            const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                                    a->ai_protocol);
            if (fd < 0) continue;
            // Address reuse only: with port sharing a second server on a taken port would start
            // without complaint and the kernel would split the members' requests between the
            // two.
            const int yes = 1, no = 0;
            ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
            if (a->ai_family == AF_INET6)
                ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &no, sizeof no);
            if (::bind(fd, a->ai_addr, a->ai_addrlen) == 0 && ::listen(fd, SOMAXCONN) == 0)
                listener = fd;
            else
                ::close(fd);
        }
        freeaddrinfo(found);
        if (listener < 0) return -1;
        sockaddr_storage bound{};
        socklen_t length = sizeof bound;
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&bound), &length);
        std::string host;
        int boundPort = -1;
        describe(bound, length, host, boundPort);
        return boundPort;
    }

    bool watch(int op, int fd, std::uint32_t events, void* tag) const {
        epoll_event event{};
        event.events = events;
        event.data.ptr = tag;
        return epoll_ctl(epoll, op, fd, &event) == 0;
    }

    // --- Waiting for a request head ---

    // The connection waits for its next request: it goes to a worker as soon as the head is
    // complete, or is dropped when the head is late.
    void awaitRequest(Owned c) {
        const auto now = FrontClock::now();
        c->headDeadline = now + limits.headTimeout;
        if (headEnds(c->buffer) || c->buffer.size() >= limits.maxHeadBytes)
            return dispatch(std::move(c));
        const auto deadline = c->buffer.empty()
                                  ? std::min(c->headDeadline, now + limits.idleTimeout)
                                  : c->headDeadline;
        ClientConnection* key = c.get();
        if (!watch(EPOLL_CTL_ADD, key->fd, EPOLLIN, key)) return close(std::move(c));
        held.emplace(key, Held{std::move(c), timers.emplace(deadline, key)});
    }

    Owned release(ClientConnection* key) {
        const auto it = held.find(key);
        Owned c = std::move(it->second.connection);
        timers.erase(it->second.timer);
        held.erase(it);
        epoll_ctl(epoll, EPOLL_CTL_DEL, c->fd, nullptr);
        return c;
    }

    void readHead(ClientConnection* key) {
        ClientConnection& c = *key;
        char chunk[kReadChunk];
        const std::size_t room = std::min(sizeof chunk, limits.maxHeadBytes - c.buffer.size());
        const ssize_t n = ::recv(c.fd, chunk, room, 0);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
        if (n <= 0) return close(release(key));
        const bool first = c.buffer.empty();
        // Only the new bytes and the two before them can complete the end of the head.
        const std::size_t from = c.buffer.size() < 2 ? 0 : c.buffer.size() - 2;
        c.buffer.append(chunk, static_cast<std::size_t>(n));
        if (c.buffer.find("\n\r\n", from) != std::string::npos ||
            c.buffer.size() >= limits.maxHeadBytes)
            return dispatch(release(key));
        if (first) {
            // The idle limit is over: from now on the head's own deadline counts.
            Held& h = held.at(key);
            timers.erase(h.timer);
            h.timer = timers.emplace(c.headDeadline, key);
        }
    }

    void expireHeads() {
        const auto now = FrontClock::now();
        while (!timers.empty() && timers.begin()->first <= now)
            close(release(timers.begin()->second));
    }

    // --- Serving ---

    void dispatch(Owned c) {
        c->headComplete = headEnds(c->buffer);
        Address& a = addresses[c->peerAddress];
        if (!exempt(*c) && a.serving >= limits.servedPerAddress) {
            a.ready.push_back(std::move(c));
            return;
        }
        ++a.serving;
        inService.insert(c->fd);
        {
            std::lock_guard lock(mutex);
            work.push_back(std::move(c));
        }
        workAvailable.notify_one();
    }

    void workLoop() {
        for (;;) {
            Owned c;
            {
                std::unique_lock lock(mutex);
                workAvailable.wait(lock, [&] { return workersQuit || !work.empty(); });
                if (work.empty()) return;
                c = std::move(work.front());
                work.pop_front();
            }
            bool keep = false;
            try {
                keep = serve(*c);
            } catch (...) {
                keep = false;
            }
            {
                std::lock_guard lock(mutex);
                finished.emplace_back(std::move(c), keep);
            }
            wake();
        }
    }

    void takeFinished() {
        std::uint64_t count = 0;
        [[maybe_unused]] const auto got = ::read(wakeFd, &count, sizeof count);
        std::vector<std::pair<Owned, bool>> done;
        {
            std::lock_guard lock(mutex);
            done.swap(finished);
        }
        for (auto& [c, keep] : done) {
            inService.erase(c->fd);
            Address& a = addresses[c->peerAddress];
            --a.serving;
            while (!a.ready.empty() && a.serving < limits.servedPerAddress) {
                Owned next = std::move(a.ready.front());
                a.ready.pop_front();
                dispatch(std::move(next));
            }
            if (keep && !stopping)
                awaitRequest(std::move(c));
            else
                close(std::move(c));
        }
    }

    // --- Accepting and closing ---

    void acceptConnections() {
        for (int i = 0; i < kAcceptBatch; ++i) {
            sockaddr_storage peer{};
            socklen_t length = sizeof peer;
            const int fd = ::accept4(listener, reinterpret_cast<sockaddr*>(&peer), &length,
                                     SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) {
                if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
                    pauseAccepting();
                return;
            }
            auto c = std::make_unique<ClientConnection>();
            c->fd = fd;
            describe(peer, length, c->peerAddress, c->peerPort);
            sockaddr_storage local{};
            length = sizeof local;
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
            describe(local, length, c->localAddress, c->localPort);
            Address& a = addresses[c->peerAddress];
            if (open >= ceiling || (!exempt(*c) && a.open >= limits.openPerAddress)) {
                ::close(fd);
                forgetIfUnused(c->peerAddress);
                continue;
            }
            ++a.open;
            ++open;
            // Small replies go out at once, not after the peer's acknowledgement delay.
            const int yes = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
            awaitRequest(std::move(c));
        }
    }

    void pauseAccepting() {
        acceptPaused = watch(EPOLL_CTL_MOD, listener, 0, &listenerTag);
        acceptResumes = FrontClock::now() + kAcceptPause;
    }

    void resumeAccepting() {
        if (!acceptPaused || FrontClock::now() < acceptResumes) return;
        acceptPaused = !watch(EPOLL_CTL_MOD, listener, EPOLLIN, &listenerTag);
    }

    void forgetIfUnused(const std::string& address) {
        const auto it = addresses.find(address);
        if (it != addresses.end() && it->second.open == 0 && it->second.serving == 0 &&
            it->second.ready.empty())
            addresses.erase(it);
    }

    void close(Owned c) {
        ::shutdown(c->fd, SHUT_RDWR);
        ::close(c->fd);
        --open;
        --addresses[c->peerAddress].open;
        forgetIfUnused(c->peerAddress);
    }

    int waitMilliseconds() const {
        auto next = FrontClock::time_point::max();
        if (!timers.empty()) next = timers.begin()->first;
        if (acceptPaused) next = std::min(next, acceptResumes);
        if (next == FrontClock::time_point::max()) return -1;
        const auto left = std::chrono::ceil<milliseconds>(next - FrontClock::now()).count();
        return static_cast<int>(std::clamp<long long>(left, 0, 60'000));
    }

    bool run() {
        if (listener < 0 || wakeFd < 0) return false;
        epoll = epoll_create1(EPOLL_CLOEXEC);
        if (epoll < 0) return false;
        if (!watch(EPOLL_CTL_ADD, listener, EPOLLIN, &listenerTag) ||
            !watch(EPOLL_CTL_ADD, wakeFd, EPOLLIN, &wakeTag)) {
            ::close(epoll);
            return false;
        }
        for (int i = 0; i < std::max(1, workerCount); ++i)
            workers.emplace_back([this] { workLoop(); });
        std::vector<epoll_event> events(256);
        while (!stopping) {
            const int n = epoll_wait(epoll, events.data(), static_cast<int>(events.size()),
                                     waitMilliseconds());
            for (int i = 0; i < n && !stopping; ++i) {
                void* tag = events[static_cast<std::size_t>(i)].data.ptr;
                if (tag == &listenerTag)
                    acceptConnections();
                else if (tag == &wakeTag)
                    takeFinished();
                else if (held.count(static_cast<ClientConnection*>(tag)))
                    readHead(static_cast<ClientConnection*>(tag));
            }
            expireHeads();
            resumeAccepting();
        }
        shutDown();
        return true;
    }

    // Ends every connection: requests being served end at their next read or write.
    void shutDown() {
        ::close(listener);
        listener = -1;
        for (const int fd : inService) ::shutdown(fd, SHUT_RDWR);
        std::deque<Owned> unstarted;
        {
            std::lock_guard lock(mutex);
            unstarted.swap(work);
            workersQuit = true;
        }
        workAvailable.notify_all();
        for (auto& worker : workers) worker.join();
        workers.clear();
        for (auto& c : unstarted) close(std::move(c));
        for (auto& [c, keep] : finished) close(std::move(c));
        finished.clear();
        while (!held.empty()) close(release(held.begin()->first));
        for (auto& [address, a] : addresses)
            for (auto& c : a.ready) {
                ::shutdown(c->fd, SHUT_RDWR);
                ::close(c->fd);
            }
        addresses.clear();
        inService.clear();
        ::close(epoll);
        epoll = -1;
    }
};

ConnectionFront::ConnectionFront(FrontLimits limits, int workers, Serve serve)
    : impl_(std::make_unique<Impl>(std::move(limits), workers, std::move(serve))) {}

ConnectionFront::~ConnectionFront() = default;

int ConnectionFront::bind(const std::string& address, int port) {
    if (impl_->listener >= 0) return -1;
    return impl_->bind(address, port);
}

bool ConnectionFront::run() {
    return impl_->run();
}

void ConnectionFront::stop() {
    impl_->stopping = true;
    impl_->wake();
}

}  // namespace tl::market
