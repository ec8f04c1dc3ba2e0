#include "core/web/WebAddress.h"

namespace tl {
namespace {

constexpr char kFileScheme[] = "file://";

bool hasScheme(const std::string& address) {
    return address.find("://") != std::string::npos;
}

}  // namespace

std::optional<std::string> localListingPath(const std::string& address) {
    if (address.find(".xml") == std::string::npos) return std::nullopt;
    if (address.rfind(kFileScheme, 0) == 0) return address.substr(sizeof kFileScheme - 1);
    if (!hasScheme(address) && !address.empty() && address[0] == '/') return address;
    return std::nullopt;
}

std::string browsableAddress(const std::string& address) {
    if (hasScheme(address)) return address;
    if (!address.empty() && address[0] == '/') return kFileScheme + address;
    return "http://" + address;
}

}  // namespace tl
