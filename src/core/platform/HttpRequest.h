#pragma once

#include <atomic>
#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tl {

// A request that could not be made or answered: host unknown, connection refused, time-out,
// transfer broken, reply too large; for request style A also an HTTP error status (400 and up).
class RequestError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct BasicAuth {
    std::string user;
    std::string password;
};

// Request style A: a blocking GET of an absolute address, with HTTP basic authentication when
// given, that follows up to kMaxRedirects redirects and returns the reply body. An error status
// throws like a failed transfer, so an error page is never taken for the reply. Setting *abandon,
// when given, ends a request in flight within about a second; a limit, when given, shortens the
// time-outs for this request. Throws RequestError.
std::string fetchText(const std::string& address, const std::optional<BasicAuth>& auth,
                      const std::atomic<bool>* abandon = nullptr,
                      std::optional<std::chrono::milliseconds> limit = std::nullopt);

// Request style B: a blocking GET of host + pathAndQuery whose reply is discarded; it succeeds
// when the request was sent and answered. Throws RequestError.
void sendRequest(const std::string& host, const std::string& pathAndQuery);

struct RequestTimeouts {
    std::chrono::milliseconds connect{10000};
    std::chrono::milliseconds whole{60000};
};
void setRequestTimeouts(const RequestTimeouts& timeouts);  // for tests
RequestTimeouts requestTimeouts();

inline constexpr long kMaxRedirects = 5;

// Largest reply body accepted; a longer reply is a failure rather than a full disk or memory.
inline constexpr std::size_t kMaxReplyBytes = 64u * 1024u * 1024u;

// A request whose reply status the caller judges: a GET, or a POST of body (as
// application/octet-stream) when one is given. Redirects are not followed. A reply longer than
// largestReply, or a transfer that stalls for idle (when given) or runs past limit, fails; so
// does setting *abandon. Throws RequestError; every status comes back as it was answered.
struct HttpCall {
    std::string address{};
    std::optional<std::string_view> postBody{};
    std::size_t largestReply = kMaxReplyBytes;
    const std::atomic<bool>* abandon = nullptr;
    std::optional<std::chrono::milliseconds> limit{};
    std::optional<std::chrono::seconds> idle{};
};
struct HttpReply {
    long status = 0;
    std::string body;
};
HttpReply exchange(const HttpCall& call);

}  // namespace tl
