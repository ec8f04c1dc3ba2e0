#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "core/platform/NonCopyable.h"

namespace tl::market {

using FrontClock = std::chrono::steady_clock;

// One accepted connection. The front owns it while it waits for a request head; a worker owns
// it while that request is served.
struct ClientConnection {
    int fd = -1;
    std::string peerAddress, localAddress;
    int peerPort = 0, localPort = 0;
    // Bytes read from the socket and not yet taken by the request reader: the head the front
    // collected, and whatever followed it.
    std::string buffer;
    std::size_t served = 0;  // requests answered on this connection so far
    // When the head of the request now due has to be complete.
    FrontClock::time_point headDeadline;
    bool headComplete = false;  // false: handed over only because the head limit was reached
};

struct FrontLimits {
    // Connections of one address served at once; more wait with their head read.
    int servedPerAddress = 8;
    // Connections one address may hold open, waiting or served.
    int openPerAddress = 256;
    // A request's line and headers must be complete this long after the connection (or the
    // previous reply on it) ...
    std::chrono::milliseconds headTimeout{10'000};
    // ... and its first byte must come within this.
    std::chrono::milliseconds idleTimeout{5'000};
    // A head that has not ended within this many bytes is handed over as it is: the request
    // reader answers it (request line too long, malformed ...).
    std::size_t maxHeadBytes = 64 * 1024;
    // The address of a trusted reverse proxy: its connections are exempt from the per-address
    // limits (it multiplexes many requesters and limits them itself).
    std::string exemptAddress;
};

// The server's network front. It accepts connections and reads each request's line and
// headers itself, with an overall deadline, before a worker sees the connection; so callers
// that trickle bytes, or keep connections open without asking anything, hold no worker. A
// worker then serves exactly one request and gives the connection back for the next one.
class ConnectionFront : NonCopyable {
public:
    // Serves the request whose head is in connection.buffer; true to keep the connection for
    // another request. Runs on a worker thread.
    using Serve = std::function<bool(ClientConnection&)>;

    ConnectionFront(FrontLimits limits, int workers, Serve serve);
    ~ConnectionFront();

    // Binds and listens; port 0 takes a free one. Returns the port, or -1.
    int bind(const std::string& address, int port);
    // Serves until stop(); false when it could not start (not bound, no resources).
    bool run();
    // Safe from any thread, before, during or after run().
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tl::market
