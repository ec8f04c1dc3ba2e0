#include "core/platform/ServerHost.h"

#include <cstdlib>
#include <mutex>

namespace tl {
namespace {
std::mutex hostMutex;
std::string overriddenHost;
}  // namespace

std::string serverHost() {
    std::lock_guard lock(hostMutex);
    if (!overriddenHost.empty()) return overriddenHost;
    if (const char* host = std::getenv("TRADELOOM_SERVER"); host && *host) return host;
    return TRADELOOM_DEFAULT_SERVER_HOST;
}

void setServerHost(const std::string& host) {
    std::lock_guard lock(hostMutex);
    overriddenHost = host;
}

std::string bindAddress() {
    const char* bind = std::getenv("TRADELOOM_BIND");
    return bind ? bind : "";
}

}  // namespace tl
