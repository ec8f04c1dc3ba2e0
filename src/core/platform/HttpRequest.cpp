#include "core/platform/HttpRequest.h"
#include "core/platform/NonCopyable.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>

#include "core/platform/ServerHost.h"

namespace tl {
namespace {

std::atomic<long> connectTimeoutMs{10000};
std::atomic<long> wholeTimeoutMs{60000};

struct CurlHandle : public NonCopyable {
    CURL* handle;
    explicit CurlHandle() : handle(nullptr) {
        static std::once_flag initialised;
        std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
        handle = curl_easy_init();
    }
    ~CurlHandle() {
        if (handle) curl_easy_cleanup(handle);
    }
};

struct Body {
    std::string text;
    bool keep = true;
    std::size_t largest = kMaxReplyBytes;
    bool tooLarge = false;
};

size_t collect(char* data, size_t size, size_t count, void* user) {
    auto* body = static_cast<Body*>(user);
    const size_t n = size * count;
    if (!body->keep) return n;
    if (body->text.size() + n > body->largest) {
        body->tooLarge = true;
        return 0;  // makes the transfer fail
    }
    body->text.append(data, n);
    return n;
}

// Ends the transfer as soon as the abandon flag is set; libcurl asks at least once a second.
int checkAbandoned(void* flag, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(flag)->load() ? 1 : 0;
}

struct Transfer {
    std::string address{};
    std::optional<BasicAuth> auth{};
    bool keepBody = true;
    bool followRedirects = true;
    std::optional<std::string_view> postBody{};
    std::size_t largestReply = kMaxReplyBytes;
    const std::atomic<bool>* abandon = nullptr;
    std::optional<std::chrono::milliseconds> limit{};
    std::optional<std::chrono::seconds> idle{};
};

// Performs one transfer: the status and the body (when kept). Throws RequestError when it could
// not be made or completed.
HttpReply perform(const Transfer& transfer) {
    CurlHandle curl;
    if (!curl.handle) throw RequestError("the request component could not be created");
    Body body;
    body.keep = transfer.keepBody;
    body.largest = transfer.largestReply;
    CURL* h = curl.handle;
    curl_easy_setopt(h, CURLOPT_URL, transfer.address.c_str());
    curl_slist* headers = nullptr;
    if (transfer.postBody) {
        curl_easy_setopt(h, CURLOPT_POST, 1L);
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, transfer.postBody->data());
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(transfer.postBody->size()));
        headers = curl_slist_append(headers, "Content-Type: application/octet-stream");
        headers = curl_slist_append(headers, "Expect:");  // no wait for a "100 Continue"
        curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers);
    } else {
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    }
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headerList(
        headers, curl_slist_free_all);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    const auto within = [&transfer](long milliseconds) {
        return transfer.limit ? std::min(milliseconds, static_cast<long>(transfer.limit->count()))
                              : milliseconds;
    };
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, within(connectTimeoutMs.load()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, within(wholeTimeoutMs.load()));
    if (transfer.idle) {
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>(transfer.idle->count()));
    }
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Tradeloom");
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    const std::string bind = bindAddress();
    if (!bind.empty()) curl_easy_setopt(h, CURLOPT_INTERFACE, bind.c_str());
    if (transfer.abandon) {
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, checkAbandoned);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, transfer.abandon);
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    }
    if (transfer.followRedirects) {
        curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(h, CURLOPT_MAXREDIRS, kMaxRedirects);
        curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    }
    if (transfer.auth) {
        curl_easy_setopt(h, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
        curl_easy_setopt(h, CURLOPT_USERNAME, transfer.auth->user.c_str());
        curl_easy_setopt(h, CURLOPT_PASSWORD, transfer.auth->password.c_str());
    }
    const CURLcode result = curl_easy_perform(h);
    if (body.tooLarge) throw RequestError("the reply is too large");
    if (result != CURLE_OK) throw RequestError(curl_easy_strerror(result));
    HttpReply reply;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &reply.status);
    reply.body = std::move(body.text);
    return reply;
}

std::string get(const std::string& address, const std::optional<BasicAuth>& auth, bool keepBody,
                const std::atomic<bool>* abandon = nullptr,
                std::optional<std::chrono::milliseconds> limit = std::nullopt) {
    HttpReply reply = perform({.address = address,
                               .auth = auth,
                               .keepBody = keepBody,
                               .followRedirects = keepBody,
                               .abandon = abandon,
                               .limit = limit});
    if (keepBody && reply.status >= 400)
        throw RequestError("the server answered with status " + std::to_string(reply.status));
    return std::move(reply.body);
}

}  // namespace

std::string fetchText(const std::string& address, const std::optional<BasicAuth>& auth,
                      const std::atomic<bool>* abandon,
                      std::optional<std::chrono::milliseconds> limit) {
    return get(address, auth, true, abandon, limit);
}

void sendRequest(const std::string& host, const std::string& pathAndQuery) {
    get("http://" + host + pathAndQuery, std::nullopt, false);
}

void setRequestTimeouts(const RequestTimeouts& timeouts) {
    connectTimeoutMs = static_cast<long>(timeouts.connect.count());
    wholeTimeoutMs = static_cast<long>(timeouts.whole.count());
}

HttpReply exchange(const HttpCall& call) {
    return perform({.address = call.address,
                    .followRedirects = false,
                    .postBody = call.postBody,
                    .largestReply = call.largestReply,
                    .abandon = call.abandon,
                    .limit = call.limit,
                    .idle = call.idle});
}

RequestTimeouts requestTimeouts() {
    return {std::chrono::milliseconds(connectTimeoutMs.load()),
            std::chrono::milliseconds(wholeTimeoutMs.load())};
}

}  // namespace tl
