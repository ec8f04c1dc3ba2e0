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
    bool tooLarge = false;
};

size_t collect(char* data, size_t size, size_t count, void* user) {
    auto* body = static_cast<Body*>(user);
    const size_t n = size * count;
    if (!body->keep) return n;
    if (body->text.size() + n > kMaxReplyBytes) {
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

std::string get(const std::string& address, const std::optional<BasicAuth>& auth, bool keepBody,
                const std::atomic<bool>* abandon = nullptr,
                std::optional<std::chrono::milliseconds> limit = std::nullopt) {
    CurlHandle curl;
    if (!curl.handle) throw RequestError("the request component could not be created");
    Body body;
    body.keep = keepBody;
    CURL* h = curl.handle;
    curl_easy_setopt(h, CURLOPT_URL, address.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    const auto within = [&limit](long milliseconds) {
        return limit ? std::min(milliseconds, static_cast<long>(limit->count())) : milliseconds;
    };
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, within(connectTimeoutMs.load()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, within(wholeTimeoutMs.load()));
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Tradeloom");
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    const std::string bind = bindAddress();
    if (!bind.empty()) curl_easy_setopt(h, CURLOPT_INTERFACE, bind.c_str());
    if (abandon) {
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, checkAbandoned);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, abandon);
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    }
    if (keepBody) {
        curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(h, CURLOPT_MAXREDIRS, kMaxRedirects);
        curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    }
    if (auth) {
        curl_easy_setopt(h, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
        curl_easy_setopt(h, CURLOPT_USERNAME, auth->user.c_str());
        curl_easy_setopt(h, CURLOPT_PASSWORD, auth->password.c_str());
    }
    const CURLcode result = curl_easy_perform(h);
    if (body.tooLarge) throw RequestError("the reply is too large");
    if (result != CURLE_OK) throw RequestError(curl_easy_strerror(result));
    if (keepBody) {
        long status = 0;
        curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
        if (status >= 400)
            throw RequestError("the server answered with status " + std::to_string(status));
    }
    return std::move(body.text);
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

RequestTimeouts requestTimeouts() {
    return {std::chrono::milliseconds(connectTimeoutMs.load()),
            std::chrono::milliseconds(wholeTimeoutMs.load())};
}

}  // namespace tl
