#pragma once

#include <memory>

namespace tl {
class CServerThread;
}

namespace tl::test {

// The member's listing server, serving the products folder of the current program directory on
// an ephemeral port of the loopback address, without the router.
class LoopbackListingServer {
public:
    LoopbackListingServer();
    ~LoopbackListingServer();
    LoopbackListingServer(const LoopbackListingServer&) = delete;
    LoopbackListingServer& operator=(const LoopbackListingServer&) = delete;

    // The port it listens on; 0 when it could not start.
    int port() const;

private:
    std::unique_ptr<CServerThread> server_;
};

}  // namespace tl::test
