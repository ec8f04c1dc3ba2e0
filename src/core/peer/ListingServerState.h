#pragma once

#include <functional>
#include <mutex>
#include <string>

namespace tl {

enum class ServerListening { Starting, Listening, PortBusy };

enum class RouterState {
    NotAsked,      // no mapping wanted
    LoopbackOnly,  // the server listens on a loopback address: no router can forward to it
    Asking,
    AddedUpnp,
    AddedNatPmp,
    Refused,  // a router answered but would not map the port
    NoRouter,
};

enum class Reachability { Unknown, Checking, Reachable, Unreachable };

// What the member can be told about the listing server: whether it listens, what the router
// did about its port, and whether the marketplace server could reach it.
struct ListingServerStatus {
    ServerListening listening = ServerListening::Starting;
    int port = 0;
    std::string bindAddress;  // empty: every address
    RouterState router = RouterState::NotAsked;
    std::string externalAddress;  // as the router gave it; empty when it did not
    Reachability reachability = Reachability::Unknown;

    bool operator==(const ListingServerStatus&) const = default;
};

// The listing server's status, changed from the server's threads and watched by the main
// window. The listener is called on the changing thread, under the state's lock, so after
// clearListener() returns it is never called again; it must only hand the status on.
class ListingServerState {
public:
    using Listener = std::function<void(const ListingServerStatus&)>;

    ListingServerStatus status() const;
    void update(const std::function<void(ListingServerStatus&)>& change);
    void reset();

    // Called at once with the status as it is, then on every change.
    void setListener(Listener listener);
    void clearListener();

private:
    mutable std::mutex mutex_;
    ListingServerStatus status_;
    Listener listener_;
};

// The program's listing server state.
ListingServerState& listingServerState();

}  // namespace tl
