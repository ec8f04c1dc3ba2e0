#pragma once

#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "core/peer/ClosingConnections.h"
#include "core/peer/HeldConnections.h"
#include "core/peer/RouterPortMapping.h"
#include "core/peer/ServingPool.h"
#include "core/peer/SlowReplies.h"
#include "core/peer/SocketIo.h"

namespace tl {

// What one caller of the listing server, or many, may take of it.
struct ListingServerLimits {
    int workers = 16;           // connections served at once
    int workersPerAddress = 4;  // of them from one requester address
    // Connections held while their request arrives or they wait for a worker, in all and
    // from one address; a new one beyond either bound closes the oldest it counts against.
    std::size_t held = 512;
    std::size_t heldPerAddress = 64;
    // A requester that takes less of its reply than this is dropped.
    TakeRate leastTaken{64 * 1024, std::chrono::seconds(30)};
    // Replies to readers slower than a worker waits for, carried on by the serving thread, in
    // all and to one address; beyond either a worker goes on with the reply itself.
    std::size_t slowReplies = 512;
    std::size_t slowRepliesPerAddress = 16;
    // After a reply, with our sending side shut: the connections waiting for their requester
    // to close (beyond, the oldest is closed), the most bytes read and dropped of what a
    // requester sent beyond its request, and the longest wait for it to close.
    std::size_t closing = 256;
    std::size_t drainBytes = 1 << 20;
    std::chrono::milliseconds drainTime{10000};
};

// The listing server every client runs: answers file requests from other members' clients with
// the files of the products directory. One thread accepts connections, reads their requests as
// the bytes arrive, carries on the replies to slow readers and closes the connections whose
// reply is complete; a small pool of workers sends the replies, handing a reader slower than
// it waits for to that thread. Names that would leave the
// products directory, requests longer than the largest name and requesters that have not sent
// their whole request within the request time are closed without a reply.
class CServerThread {
public:
    static constexpr std::chrono::milliseconds kRequestTimeout{10000};
    static constexpr int kBacklog = SOMAXCONN;

    struct Settings {
        int port = kTransferPort;  // 0: an ephemeral port (tests)
        std::string bindAddress;   // dotted IPv4 address; empty: every address
        // Longest wait for the whole request, counted from the connection.
        std::chrono::milliseconds requestTimeout = kRequestTimeout;
        // The router to ask for a mapping of the port; none: no mapping.
        std::optional<RouterPortMapping::Gateway> router;
    };

    explicit CServerThread(Settings settings, ListingServerLimits limits = {});
    ~CServerThread();  // stops
    CServerThread(const CServerThread&) = delete;
    CServerThread& operator=(const CServerThread&) = delete;

    // Opens the port and starts serving, with the router mapping made beside it. When the port
    // cannot be opened the member is told "SERVER PORT NOT STARTED" and false is returned; the
    // rest of the program goes on without a server.
    bool start();
    // Ends serving (connections open are cut off) and removes the router mapping.
    void stop();

    int port() const { return port_; }  // the bound port once started
    // The router mapping attempt, or null when none was asked for or the server is not started.
    RouterPortMapping* routerMapping() const { return mapping_.get(); }

private:
    void serve();
    void acceptWaiting();
    void wake();
    void answerRequest(Socket& connection, std::uint32_t address, const std::string& name);

    const Settings settings_;
    const ListingServerLimits limits_;
    Socket listening_;
    int port_ = 0;
    int wakePipe_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    HeldConnections held_;  // the accepting thread's own
    ClosingConnections closing_;
    SlowReplies slow_;
    std::unique_ptr<ServingPool> pool_;
    std::thread thread_;
    std::unique_ptr<RouterPortMapping> mapping_;
};

}  // namespace tl
