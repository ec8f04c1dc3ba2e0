#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "core/peer/ListingServerState.h"
#include "core/peer/NatPmpRequest.h"

namespace tl {

// Asks the home router to forward a TCP port to this machine: finds a UPnP gateway, learns the
// local address the gateway sees, and adds the mapping (same external and internal port,
// description "Tradeloom"). When no UPnP gateway answers, it asks for the same mapping through
// NAT-PMP and renews that before its lifetime ends. It runs on a thread of its own so that
// nothing waits for it; each outcome goes to the reporter. A mapping it made is removed when
// the object goes.
class RouterPortMapping {
public:
    struct Gateway {
        std::string rootDescriptionUrl;  // a gateway known by its description address; empty:
                                         // discover one on the local network
        std::string multicastInterface;  // local address the discovery leaves from; empty: any
        // The NAT-PMP gateway asked when no UPnP gateway answers; none: NAT-PMP is not tried.
        std::optional<NatPmpGateway> natPmp = std::nullopt;
        std::chrono::seconds natPmpLifetime{3600};
    };
    // Called on the mapping thread with each new outcome and the router's public address when
    // it gave one: AddedUpnp, AddedNatPmp, Refused or NoRouter.
    using Reporter = std::function<void(RouterState outcome, const std::string& externalAddress)>;

    // The object going stops the thread, which then removes the mapping it made.
    RouterPortMapping(int port, Gateway gateway, Reporter reporter = {});
    RouterPortMapping(const RouterPortMapping&) = delete;
    RouterPortMapping& operator=(const RouterPortMapping&) = delete;

    // Waits for the first attempt to end; true when the router took the mapping.
    bool waitForMapping();
    // The local address the UPnP gateway sees (empty until found); read after waitForMapping().
    const std::string& localAddress() const { return localAddress_; }

private:
    void run(std::stop_token stop);
    void map(const std::stop_token& stop);
    bool mapThroughUpnp(const std::stop_token& stop);
    void mapThroughNatPmp(const std::stop_token& stop);
    void removeMapping();
    void report(RouterState outcome, const std::string& externalAddress = {});

    const int port_;
    const Gateway gateway_;
    const Reporter reporter_;
    std::mutex mutex_;
    std::condition_variable_any changed_;
    bool attempted_ = false;
    bool mapped_ = false;
    // Written by the mapping thread before the first attempt ends.
    std::string controlUrl_;
    std::string serviceType_;
    std::string localAddress_;
    bool upnpMapped_ = false;
    bool natPmpMapped_ = false;  // granted at least once: removed at the end
    std::jthread thread_;        // last: stopped and joined before the members it uses go
};

}  // namespace tl
