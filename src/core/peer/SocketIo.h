#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/peer/TransferProtocol.h"

namespace tl {

using SteadyTime = std::chrono::steady_clock::time_point;

// An IPv4 stream socket descriptor owned by the object and closed with it.
class Socket {
public:
    Socket() = default;
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket();
    Socket(Socket&& other) noexcept;
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    int fd() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void close();

private:
    int fd_ = -1;
};

// A listening socket on address (dotted IPv4; empty for every address) and port (0 for an
// ephemeral one); invalid when the address is not valid or the port cannot be had.
Socket listenOn(const std::string& address, int port, int backlog);
// The local port a socket is bound to, or 0.
int localPort(const Socket& socket);
// The next connection on a listening socket, or an invalid socket when accepting failed (errno
// tells why).
Socket acceptConnection(const Socket& listening);
// The IPv4 address a connection comes from, in network order; 0 when it cannot be had.
std::uint32_t peerAddress(const Socket& connection);
bool setBlocking(int fd, bool blocking);
// Makes closing the connection reset it at once, dropping whatever it still had to send.
void resetOnClose(const Socket& connection);
// A connection to address:port made within timeout, leaving from localAddress when one is given;
// invalid when nobody answered in time.
Socket connectTo(const std::string& address, int port, std::chrono::milliseconds timeout,
                 const std::string& localAddress = "");

// Caps the kernel's send buffer of a connection, so that what the peer has taken stays close
// to what was handed to the socket and a peer that stops reading holds little memory.
void limitSendBuffer(int fd, int bytes);
// The bytes handed to a connection that its peer has not yet acknowledged; nothing when the
// socket cannot tell.
std::optional<std::size_t> unacknowledgedBytes(int fd);

// The least a peer must take of what is sent to it: bytes within every stretch of time.
struct TakeRate {
    std::size_t bytes;
    std::chrono::milliseconds within;
};

// Watches a peer against a take rate: a stretch ends as soon as the peer has taken the bytes,
// and the next one starts then.
class TakeMeter {
public:
    explicit TakeMeter(TakeRate rate);
    // All the peer has taken so far.
    void takenInAll(std::uint64_t bytes);
    SteadyTime stretchEnd() const { return stretchEnd_; }
    bool behind(SteadyTime now) const { return now >= stretchEnd_; }

private:
    TakeRate rate_;
    std::uint64_t stretchStart_ = 0;  // taken in all when the current stretch began
    SteadyTime stretchEnd_;
};

// Sends every byte; false when the peer is gone or took no byte for the whole idle time.
// A peer that went away never raises SIGPIPE.
bool sendAll(int fd, std::string_view bytes, std::chrono::milliseconds idle);
// Waits until the socket is ready for events; false when the wait ran out first.
bool waitReady(int fd, short events, std::chrono::milliseconds wait);
// Receives up to size bytes waiting at most until deadline: the count, 0 when the peer closed,
// -1 on failure or when the deadline passed.
long receiveSome(int fd, char* buffer, std::size_t size, SteadyTime deadline);
// Exactly size bytes by the deadline, or nothing.
std::optional<std::string> receiveExactly(int fd, std::size_t size, SteadyTime deadline);

// A connection as a byte channel: each wait for the peer lasts at most the idle time, and no
// longer than the deadline when one is set. A receive fails as soon as the stop flag, when one
// is set, is raised (checked every few tenths of a second while it waits).
class SocketChannel : public ByteChannel {
public:
    SocketChannel(int fd, std::chrono::milliseconds idle) : fd_(fd), idle_(idle) {}
    void setDeadline(std::optional<SteadyTime> deadline) { deadline_ = deadline; }
    void setStop(const std::atomic<bool>* stop) { stop_ = stop; }

    bool sendAll(std::string_view bytes) override;
    long receiveSome(char* buffer, std::size_t size) override;

private:
    std::chrono::milliseconds waitLimit() const;

    int fd_;
    std::chrono::milliseconds idle_;
    std::optional<SteadyTime> deadline_;
    const std::atomic<bool>* stop_ = nullptr;
};

}  // namespace tl
