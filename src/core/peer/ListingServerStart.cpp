#include "core/peer/ListingServerStart.h"

#include <mutex>

#include "core/platform/ServerHost.h"

namespace tl {
namespace {

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

std::unique_ptr<CServerThread> startListingServer() {
    ListingServerSetup setup;
    {
        std::lock_guard lock(setupMutex);
        setup = currentSetup;
    }
    CServerThread::Settings settings;
    settings.port = setup.port;
    settings.bindAddress = setup.bindAddress.empty() ? bindAddress() : setup.bindAddress;
    if (setup.mapThroughRouter && !isLoopback(settings.bindAddress))
        settings.router = RouterPortMapping::Gateway{"", settings.bindAddress};
    auto server = std::make_unique<CServerThread>(std::move(settings));
    if (!server->start()) return nullptr;
    return server;
}

}  // namespace tl
