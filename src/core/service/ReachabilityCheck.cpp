#include "core/service/ReachabilityCheck.h"

#include "core/service/Endpoints.h"
#include "core/service/ServiceRequest.h"

namespace tl {

std::optional<bool> askReachable(std::chrono::milliseconds limit,
                                 const std::atomic<bool>* abandon) {
    std::string reply;
    try {
        reply =
            fetchText(Query(endpoints::kReachable).address(), serviceCredentials(), abandon, limit);
    } catch (const RequestError&) {
        return std::nullopt;
    }
    if (reply == "1") return true;
    if (reply == "0") return false;
    return std::nullopt;
}

}  // namespace tl
