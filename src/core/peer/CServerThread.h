#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/peer/RouterPortMapping.h"
#include "core/peer/SocketIo.h"

namespace tl {

// The listing server every client runs: answers file requests from other members' clients with
// the files of the products directory, one connection after the other, on a thread of its own.
// Names that would leave the products directory, requests longer than the largest name and
// requesters that stay silent past the request time are closed without a reply.
class CServerThread {
public:
    static constexpr std::chrono::milliseconds kRequestTimeout{10000};
    static constexpr int kBacklog = 5;

    struct Settings {
        int port = kTransferPort;  // 0: an ephemeral port (tests)
        std::string bindAddress;   // dotted IPv4 address; empty: every address
        // Longest wait for the whole request, and for a requester to take more reply bytes.
        std::chrono::milliseconds requestTimeout = kRequestTimeout;
        // The router to ask for a mapping of the port; none: no mapping.
        std::optional<RouterPortMapping::Gateway> router;
    };

    explicit CServerThread(Settings settings);
    ~CServerThread();  // stops
    CServerThread(const CServerThread&) = delete;
    CServerThread& operator=(const CServerThread&) = delete;

    // Opens the port and starts serving on the server thread, with the router mapping made
    // beside it. When the port cannot be opened the member is told "SERVER PORT NOT STARTED"
    // and false is returned; the rest of the program goes on without a server.
    bool start();
    // Ends serving (a connection being served is cut off) and removes the router mapping.
    void stop();

    int port() const { return port_; }  // the bound port once started
    // The router mapping attempt, or null when none was asked for or the server is not started.
    RouterPortMapping* routerMapping() const { return mapping_.get(); }

private:
    void serve();
    void serveConnection(Socket connection);
    void answerRequest(int fd);

    const Settings settings_;
    Socket listening_;
    int port_ = 0;
    int wakePipe_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::mutex connectionMutex_;
    int servedFd_ = -1;  // the connection being served, cut off by stop()
    std::thread thread_;
    std::unique_ptr<RouterPortMapping> mapping_;
};

}  // namespace tl
