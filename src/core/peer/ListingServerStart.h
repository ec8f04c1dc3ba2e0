#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/peer/CServerThread.h"
#include "core/peer/ListingServerState.h"
#include "core/peer/ReachabilityWatch.h"
#include "core/peer/RouterPortMapping.h"

namespace tl {

// How the program starts its listing server. Tests take an ephemeral port on loopback, leave
// the router alone and do not ask the marketplace server about reachability.
struct ListingServerSetup {
    int port = kTransferPort;
    std::string bindAddress;  // empty: $TRADELOOM_BIND, else every address
    bool mapThroughRouter = true;
    bool checkReachability = true;
    // The router to ask; none: UPnP discovery from the bind address, then NAT-PMP to the
    // default gateway.
    std::optional<RouterPortMapping::Gateway> router = std::nullopt;
};
void setListingServerSetup(const ListingServerSetup& setup);
ListingServerSetup listingServerSetup();

// The running listing server with its router mapping and reachability watch. Going, it stops
// serving and removes the mapping.
class ListingServer {
public:
    ListingServer(std::unique_ptr<CServerThread> server, std::unique_ptr<ReachabilityWatch> watch,
                  std::unique_ptr<RouterPortMapping> mapping);
    ~ListingServer();

    int port() const { return server_->port(); }
    // Null when no mapping is asked for.
    RouterPortMapping* routerMapping() const { return mapping_.get(); }

private:
    std::unique_ptr<CServerThread> server_;
    std::unique_ptr<ReachabilityWatch> watch_;
    std::unique_ptr<RouterPortMapping> mapping_;  // goes first: it reports to the watch
};

// Starts the program's listing server: port 9999 on $TRADELOOM_BIND or every address, forwarded
// through the home router unless it listens on a loopback address (no router can reach that),
// then asks the marketplace server whether others can reach it, again after each change of the
// mapping. Every step shows in the state. Null when the port could not be opened; the member
// has then been told.
std::unique_ptr<ListingServer> startListingServer(ListingServerState& state = listingServerState());

}  // namespace tl
