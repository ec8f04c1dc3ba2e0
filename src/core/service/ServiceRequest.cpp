#include "core/service/ServiceRequest.h"

#include "core/platform/ServerHost.h"
#include "core/platform/Ui.h"
#include "core/service/MarketContract.h"

namespace tl {

void showConnectionError() {
    ui().messageBox(kErrorCaption, kConnectionErrorText);
}

void showNetworkError() {
    ui().messageBox(kNetworkErrorCaption, kNetworkErrorText);
}

BasicAuth serviceCredentials() {
    return {contract::kServiceUser, contract::kServicePassword};
}

std::string requestText(const Query& query, Credentials credentials,
                        const std::atomic<bool>* abandon) {
    std::optional<BasicAuth> auth;
    if (credentials == Credentials::Service) auth = serviceCredentials();
    if (credentials == Credentials::Zero)
        auth = BasicAuth{contract::kZeroUser, contract::kZeroPassword};
    return fetchText(query.address(), auth, abandon);
}

std::optional<std::string> requestTextOrReport(const Query& query, Credentials credentials) {
    try {
        return requestText(query, credentials);
    } catch (const RequestError&) {
        showConnectionError();
        return std::nullopt;
    }
}

void sendNotification(const Query& query) {
    sendRequest(serverHost(), query.pathAndQuery());
}

int sendNotificationOrReport(const Query& query) {
    try {
        sendNotification(query);
        return 1;
    } catch (const RequestError&) {
        showNetworkError();
        return 0;
    }
}

bool probeServer(const char* path) {
    try {
        sendRequest(serverHost(), path);
        return true;
    } catch (const RequestError&) {
        return false;
    }
}

}  // namespace tl
