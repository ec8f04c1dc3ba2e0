#pragma once

#include <memory>
#include <string>

#include "core/peer/CServerThread.h"

namespace tl {

// How the program starts its listing server. Tests take an ephemeral port on loopback and
// leave the router alone.
struct ListingServerSetup {
    int port = kTransferPort;
    std::string bindAddress;  // empty: $TRADELOOM_BIND, else every address
    bool mapThroughRouter = true;
};
void setListingServerSetup(const ListingServerSetup& setup);

// Starts the program's listing server: port 9999 on $TRADELOOM_BIND or every address, forwarded
// through the home router unless it listens on a loopback address (no router can reach that).
// Null when the port could not be opened; the member has then been told.
std::unique_ptr<CServerThread> startListingServer();

}  // namespace tl
