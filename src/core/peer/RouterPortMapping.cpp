#include "core/peer/RouterPortMapping.h"

#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>

#include <utility>

namespace tl {
namespace {

constexpr char kMappingDescription[] = "Tradeloom";
constexpr char kProtocol[] = "TCP";
constexpr int kDiscoveryMilliseconds = 2000;

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

RouterPortMapping::RouterPortMapping(int port, Gateway gateway)
    : port_(std::to_string(port)), gateway_(std::move(gateway)) {
    thread_ = std::thread([this] { map(); });
}

RouterPortMapping::~RouterPortMapping() {
    stopping_ = true;
    if (!waitForMapping()) return;
    UPNP_DeletePortMapping(controlUrl_.c_str(), serviceType_.c_str(), port_.c_str(), kProtocol,
                           nullptr);
}

bool RouterPortMapping::waitForMapping() {
    if (thread_.joinable()) thread_.join();
    return mapped_;
}

void RouterPortMapping::map() {
    FoundGateway found;
    const bool haveGateway = gateway_.rootDescriptionUrl.empty()
                                 ? discoverGateway(gateway_.multicastInterface, found)
                                 : gatewayAt(gateway_.rootDescriptionUrl, found);
    if (!haveGateway) return;
    controlUrl_ = found.controlUrl;
    serviceType_ = found.serviceType;
    localAddress_ = found.localAddress;
    if (stopping_) return;  // the program is ending: nothing to add, nothing to remove later
    mapped_ = UPNP_AddPortMapping(controlUrl_.c_str(), serviceType_.c_str(), port_.c_str(),
                                  port_.c_str(), localAddress_.c_str(), kMappingDescription,
                                  kProtocol, nullptr, "0") == 0;
}

}  // namespace tl
