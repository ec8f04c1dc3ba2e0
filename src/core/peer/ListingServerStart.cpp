#include "core/peer/ListingServerStart.h"

#include <mutex>

#include "core/platform/ServerHost.h"
#include "core/service/ReachabilityCheck.h"

namespace tl {
namespace {

// The marketplace server tries for 3 seconds; the rest is room for a slow line.
constexpr std::chrono::seconds kReachabilityLimit{8};

std::mutex setupMutex;
ListingServerSetup currentSetup;

bool isLoopback(const std::string& address) {
    return address.rfind("127.", 0) == 0;
}

}  // namespace

void setListingServerSetup(const ListingServerSetup& setup) {
    std::lock_guard lock(setupMutex);
    currentSetup = setup;
}

ListingServer::ListingServer(std::unique_ptr<CServerThread> server,
                             std::unique_ptr<ReachabilityWatch> watch,
                             std::unique_ptr<RouterPortMapping> mapping)
    : server_(std::move(server)), watch_(std::move(watch)), mapping_(std::move(mapping)) {}

ListingServer::~ListingServer() = default;

ListingServerSetup listingServerSetup() {
    std::lock_guard lock(setupMutex);
    return currentSetup;
}

std::unique_ptr<ListingServer> startListingServer(ListingServerState& state) {
    const ListingServerSetup setup = listingServerSetup();
    CServerThread::Settings settings;
    settings.port = setup.port;
    settings.bindAddress = setup.bindAddress.empty() ? bindAddress() : setup.bindAddress;
    const bool loopback = isLoopback(settings.bindAddress);
    state.update([&settings](ListingServerStatus& status) {
        status = {};
        status.port = settings.port;
        status.bindAddress = settings.bindAddress;
    });
    auto server = std::make_unique<CServerThread>(settings);
    if (!server->start()) {
        state.update(
            [](ListingServerStatus& status) { status.listening = ServerListening::PortBusy; });
        return nullptr;
    }
    state.update([&server, &setup, loopback](ListingServerStatus& status) {
        status.listening = ServerListening::Listening;
        status.port = server->port();
        status.router = loopback                 ? RouterState::LoopbackOnly
                        : setup.mapThroughRouter ? RouterState::Asking
                                                 : RouterState::NotAsked;
    });

    std::unique_ptr<ReachabilityWatch> watch;
    if (setup.checkReachability) {
        watch = std::make_unique<ReachabilityWatch>(state, [](const std::atomic<bool>& abandon) {
            return askReachable(kReachabilityLimit, &abandon);
        });
        watch->recheck();
    }
    std::unique_ptr<RouterPortMapping> mapping;
    if (setup.mapThroughRouter && !loopback) {
        RouterPortMapping::Gateway gateway = setup.router.value_or(
            RouterPortMapping::Gateway{"", settings.bindAddress, NatPmpGateway{}});
        mapping = std::make_unique<RouterPortMapping>(
            server->port(), std::move(gateway),
            [&state, watch = watch.get()](RouterState outcome, const std::string& external) {
                state.update([&](ListingServerStatus& status) {
                    status.router = outcome;
                    status.externalAddress = external;
                });
                if (watch) watch->recheck();
            });
    }
    return std::make_unique<ListingServer>(std::move(server), std::move(watch), std::move(mapping));
}

}  // namespace tl
