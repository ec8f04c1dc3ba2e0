#include "core/peer/NatPmpRequest.h"

#include <arpa/inet.h>
#include <natpmp.h>
#include <poll.h>

#include <algorithm>

namespace tl {
namespace {

using Clock = std::chrono::steady_clock;

// One request on a socket of its own, closed with the object.
class NatPmpSession {
public:
    explicit NatPmpSession(const NatPmpGateway& gateway) : wait_(gateway.wait) {
        in_addr_t forced = 0;
        const bool force = !gateway.address.empty();
        if (force && ::inet_pton(AF_INET, gateway.address.c_str(), &forced) != 1) return;
        open_ = initnatpmp(&handle_, force ? 1 : 0, forced) == 0;
    }
    ~NatPmpSession() {
        if (open_) closenatpmp(&handle_);
    }
    NatPmpSession(const NatPmpSession&) = delete;
    NatPmpSession& operator=(const NatPmpSession&) = delete;

    natpmp_t* handle() { return open_ ? &handle_ : nullptr; }

    // Waits for the answer to the request just sent, sending it again on the library's
    // schedule until the wait is over. Returns the library's result: 0 for an answer the
    // gateway accepted, a negative code otherwise.
    int awaitAnswer(natpmpresp_t& answer) {
        const Clock::time_point deadline = Clock::now() + wait_;
        for (;;) {
            timeval retry{};
            if (getnatpmprequesttimeout(&handle_, &retry) < 0) return NATPMP_ERR_GETTIMEOFDAYERR;
            const auto untilRetry =
                std::chrono::seconds(retry.tv_sec) + std::chrono::microseconds(retry.tv_usec);
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) return NATPMP_TRYAGAIN;
            const auto pause =
                std::clamp(std::chrono::duration_cast<std::chrono::milliseconds>(untilRetry),
                           std::chrono::milliseconds(0), left);
            pollfd readable{handle_.s, POLLIN, 0};
            ::poll(&readable, 1, static_cast<int>(pause.count()) + 1);
            const int result = readnatpmpresponseorretry(&handle_, &answer);
            if (result != NATPMP_TRYAGAIN) return result;
        }
    }

private:
    natpmp_t handle_{};
    bool open_ = false;
    std::chrono::milliseconds wait_;
};

// The codes of a gateway that answered but said no.
bool isRefusal(int result) {
    switch (result) {
        case NATPMP_ERR_UNSUPPORTEDVERSION:
        case NATPMP_ERR_UNSUPPORTEDOPCODE:
        case NATPMP_ERR_UNDEFINEDERROR:
        case NATPMP_ERR_NOTAUTHORIZED:
        case NATPMP_ERR_NETWORKFAILURE:
        case NATPMP_ERR_OUTOFRESOURCES:
            return true;
        default:
            return false;
    }
}

// A removal (lifetime 0) names no public port.
int sendMapping(natpmp_t* handle, int port, std::chrono::seconds lifetime) {
    const auto privatePort = static_cast<std::uint16_t>(port);
    return sendnewportmappingrequest(handle, NATPMP_PROTOCOL_TCP, privatePort,
                                     lifetime.count() > 0 ? privatePort : 0,
                                     static_cast<std::uint32_t>(lifetime.count()));
}

}  // namespace

NatPmpAnswer requestNatPmpMapping(const NatPmpGateway& gateway, int port,
                                  std::chrono::seconds lifetime) {
    NatPmpSession session(gateway);
    natpmp_t* handle = session.handle();
    if (!handle || sendMapping(handle, port, lifetime) < 0) return {};
    natpmpresp_t answer{};
    const int result = session.awaitAnswer(answer);
    if (isRefusal(result)) return {NatPmpResult::Refused};
    if (result < 0 || answer.type != NATPMP_RESPTYPE_TCPPORTMAPPING ||
        answer.pnu.newportmapping.privateport != port)
        return {};
    if (lifetime.count() > 0 && answer.pnu.newportmapping.mappedpublicport != port) {
        if (sendMapping(handle, port, std::chrono::seconds(0)) >= 0) session.awaitAnswer(answer);
        return {NatPmpResult::Refused};
    }
    return {NatPmpResult::Granted, std::chrono::seconds(answer.pnu.newportmapping.lifetime)};
}

std::string natPmpPublicAddress(const NatPmpGateway& gateway) {
    NatPmpSession session(gateway);
    natpmp_t* handle = session.handle();
    if (!handle || sendpublicaddressrequest(handle) < 0) return {};
    natpmpresp_t answer{};
    if (session.awaitAnswer(answer) < 0 || answer.type != NATPMP_RESPTYPE_PUBLICADDRESS) return {};
    char text[INET_ADDRSTRLEN] = "";
    if (!::inet_ntop(AF_INET, &answer.pnu.publicaddress.addr, text, sizeof text)) return {};
    return text;
}

}  // namespace tl
