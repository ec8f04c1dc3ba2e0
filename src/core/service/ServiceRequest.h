#pragma once

#include <optional>
#include <string>

#include "core/platform/HttpRequest.h"
#include "core/service/Query.h"

namespace tl {

// The two standard failure messages.
inline constexpr char kErrorCaption[] = "Error";
inline constexpr char kConnectionErrorText[] =
    "A connection cannot be established. Please make sure your internet connection is up.";
inline constexpr char kNetworkErrorCaption[] = "Connection Error";
inline constexpr char kNetworkErrorText[] =
    "A connection to the Tradeloom network cannot be established. Please make sure your "
    "internet connection is up.";

void showConnectionError();  // "Error" box
void showNetworkError();     // "Connection Error" box

// Who a style A request authenticates as: nobody, the client program's service pair, or the
// pair 0/0 that the bought-items list uses.
enum class Credentials { None, Service, Zero };
BasicAuth serviceCredentials();

// Request style A: the reply text of the query's address; setting *abandon ends it early.
// Throws RequestError.
std::string requestText(const Query& query, Credentials credentials = Credentials::Service,
                        const std::atomic<bool>* abandon = nullptr);
// As requestText, but a failure shows the standard "Error" box and gives no reply.
std::optional<std::string> requestTextOrReport(const Query& query,
                                               Credentials credentials = Credentials::Service);

// Request style B: sends the query to the server host, reply unread. Throws RequestError.
void sendNotification(const Query& query);
// As sendNotification, but a failure shows the standard "Connection Error" box.
// Returns 1 when the request was sent, 0 when it failed.
int sendNotificationOrReport(const Query& query);

// A reachability probe (style B on a fixed path): true when the server answered.
bool probeServer(const char* path);

}  // namespace tl
