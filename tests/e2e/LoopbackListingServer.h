#pragma once

#include <memory>

#include "core/platform/NonCopyable.h"

namespace tl {
class CServerThread;
}

namespace tl::test {

// The member's listing server, serving the products folder of the current program directory on
// an ephemeral port of the loopback address, without the router.
class LoopbackListingServer : NonCopyable {
public:
    LoopbackListingServer();
    ~LoopbackListingServer();

    // The port it listens on; 0 when it could not start.
    int port() const;

private:
    std::unique_ptr<CServerThread> server_;
};

}  // namespace tl::test
