#include "core/session/Login.h"

#include "core/service/Endpoints.h"
#include "core/service/ServiceRequest.h"

namespace tl {

int loginRequest(const std::string& user, const std::string& password) {
    if (!probeServer(endpoints::kProbe)) {
        showNetworkError();
        return kLoginUnreachable;
    }
    const std::optional<std::string> reply = requestTextOrReport(endpoints::login(user, password));
    if (!reply) return kLoginMismatch;
    if (*reply == "0") return kLoginOk;
    if (*reply == "-1") return kLoginUnknownUser;
    if (*reply == "-2") return kLoginMismatch;
    return kLoginOtherReply;
}

}  // namespace tl
