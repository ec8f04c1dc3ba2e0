#include "core/peer/RouterPortMapping.h"

#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>

#include <algorithm>
#include <utility>

namespace tl {
namespace {

constexpr char kMappingDescription[] = "Tradeloom";
constexpr char kProtocol[] = "TCP";
constexpr int kDiscoveryMilliseconds = 2000;
// However short a lifetime the gateway grants, it is not asked more often than this.
constexpr std::chrono::seconds kShortestRenewal{1};

struct FoundGateway {
    std::string controlUrl;
    std::string serviceType;
    std::string localAddress;
};

bool takeGateway(UPNPUrls& urls, const IGDdatas& data, const char* localAddress,
                 FoundGateway& found) {
    found =
        FoundGateway{urls.controlURL ? urls.controlURL : "", data.first.servicetype, localAddress};
    FreeUPNPUrls(&urls);
    // A device without a connection service has nothing to map on.
    return !found.controlUrl.empty() && !found.serviceType.empty();
}

bool gatewayAt(const std::string& rootDescriptionUrl, FoundGateway& found) {
    UPNPUrls urls{};
    IGDdatas data{};
    char localAddress[64] = "";
    if (UPNP_GetIGDFromUrl(rootDescriptionUrl.c_str(), &urls, &data, localAddress,
                           sizeof localAddress) != 1)
        return false;
    return takeGateway(urls, data, localAddress, found);
}

bool discoverGateway(const std::string& multicastInterface, FoundGateway& found) {
    int error = 0;
    UPNPDev* devices = upnpDiscover(
        kDiscoveryMilliseconds, multicastInterface.empty() ? nullptr : multicastInterface.c_str(),
        nullptr, UPNP_LOCAL_PORT_ANY, 0, 2, &error);
    if (!devices) return false;
    UPNPUrls urls{};
    IGDdatas data{};
    char localAddress[64] = "";
#if MINIUPNPC_API_VERSION >= 18
    char wanAddress[64] = "";
    const int result = UPNP_GetValidIGD(devices, &urls, &data, localAddress, sizeof localAddress,
                                        wanAddress, sizeof wanAddress);
    const bool isGateway = result >= 1 && result <= 3;  // 4: a device that is no gateway
#else
    const int result = UPNP_GetValidIGD(devices, &urls, &data, localAddress, sizeof localAddress);
    const bool isGateway = result == 1 || result == 2;  // 3: a device that is no gateway
#endif
    freeUPNPDevlist(devices);
    if (result == 0) return false;
    if (!isGateway) {
        FreeUPNPUrls(&urls);
        return false;
    }
    return takeGateway(urls, data, localAddress, found);
}

}  // namespace

RouterPortMapping::RouterPortMapping(int port, Gateway gateway, Reporter reporter)
    : port_(port),
      gateway_(std::move(gateway)),
      reporter_(std::move(reporter)),
      thread_([this](std::stop_token stop) { run(std::move(stop)); }) {}

void RouterPortMapping::run(std::stop_token stop) {
    map(stop);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, stop, [] { return false; });
    lock.unlock();
    removeMapping();
}

void RouterPortMapping::removeMapping() {
    if (upnpMapped_)
        UPNP_DeletePortMapping(controlUrl_.c_str(), serviceType_.c_str(),
                               std::to_string(port_).c_str(), kProtocol, nullptr);
    if (natPmpMapped_) requestNatPmpMapping(*gateway_.natPmp, port_, std::chrono::seconds(0));
}

bool RouterPortMapping::waitForMapping() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return attempted_; });
    return mapped_;
}

void RouterPortMapping::report(RouterState outcome, const std::string& externalAddress) {
    {
        std::lock_guard lock(mutex_);
        mapped_ = outcome == RouterState::AddedUpnp || outcome == RouterState::AddedNatPmp;
        attempted_ = true;
    }
    changed_.notify_all();
    if (reporter_) reporter_(outcome, externalAddress);
}

void RouterPortMapping::map(const std::stop_token& stop) {
    if (mapThroughUpnp(stop)) return;
    if (gateway_.natPmp && !stop.stop_requested()) return mapThroughNatPmp(stop);
    report(RouterState::NoRouter);
}

// False when no UPnP gateway answered.
bool RouterPortMapping::mapThroughUpnp(const std::stop_token& stop) {
    FoundGateway found;
    const bool haveGateway = gateway_.rootDescriptionUrl.empty()
                                 ? discoverGateway(gateway_.multicastInterface, found)
                                 : gatewayAt(gateway_.rootDescriptionUrl, found);
    if (!haveGateway) return false;
    controlUrl_ = found.controlUrl;
    serviceType_ = found.serviceType;
    localAddress_ = found.localAddress;
    const std::string port = std::to_string(port_);
    // When the program is ending there is nothing to add, and nothing to remove later.
    upnpMapped_ = !stop.stop_requested() &&
                  UPNP_AddPortMapping(controlUrl_.c_str(), serviceType_.c_str(), port.c_str(),
                                      port.c_str(), localAddress_.c_str(), kMappingDescription,
                                      kProtocol, nullptr, "0") == 0;
    char external[40] = "";
    if (upnpMapped_ &&
        UPNP_GetExternalIPAddress(controlUrl_.c_str(), serviceType_.c_str(), external) != 0)
        external[0] = '\0';
    report(upnpMapped_ ? RouterState::AddedUpnp : RouterState::Refused, external);
    return true;
}

// Maps and keeps renewing at half the granted lifetime until the object goes; a renewal the
// gateway did not grant is reported and tried again at the next turn.
void RouterPortMapping::mapThroughNatPmp(const std::stop_token& stop) {
    const NatPmpGateway& gateway = *gateway_.natPmp;
    std::optional<RouterState> last;
    std::string external;
    for (;;) {
        const NatPmpAnswer answer = requestNatPmpMapping(gateway, port_, gateway_.natPmpLifetime);
        RouterState outcome = RouterState::NoRouter;
        if (answer.result == NatPmpResult::Refused) outcome = RouterState::Refused;
        if (answer.result == NatPmpResult::Granted) {
            outcome = RouterState::AddedNatPmp;
            natPmpMapped_ = true;
            if (last != outcome) external = natPmpPublicAddress(gateway);
        }
        if (last != outcome) report(outcome, external);
        last = outcome;
        const auto granted =
            answer.result == NatPmpResult::Granted ? answer.lifetime : gateway_.natPmpLifetime;
        const auto renewal = std::max<std::chrono::milliseconds>(granted / 2, kShortestRenewal);
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, stop, renewal, [] { return false; });
        if (stop.stop_requested()) return;
    }
}

}  // namespace tl
