#pragma once

#include <httplib.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

#include "core/service/MarketContract.h"

// What the route files share: the route table they add to, reading request values and writing
// replies.
namespace tl::market {

class MarketStore;

using httplib::Request;
using httplib::Response;
namespace page = contract::page;
namespace key = contract::key;

inline constexpr char kPlain[] = "text/plain; charset=utf-8";
inline constexpr char kXml[] = "text/xml; charset=utf-8";
inline constexpr char kHtml[] = "text/html; charset=utf-8";

using Route = std::function<void(const Request&, Response&)>;
using RouteTable = std::unordered_map<std::string, Route>;

// Adds the handler of the route object under the path.
template <typename Routes>
void addRoute(RouteTable& table, const char* path, Routes* routes,
              void (Routes::*handler)(const Request&, Response&)) {
    table[path] = [routes, handler](const Request& req, Response& res) {
        (routes->*handler)(req, res);
    };
}

// Whether the request comes from the address at which the member is online. Requests that
// change or show a member's own data carry no password, so this is what proves them the
// member's. (Kept beside the dispatcher in MarketServer.cpp.)
bool fromMember(MarketStore& store, const Request& req, const std::string& username);

std::string param(const Request& req, const char* key);
// A product id as the client sends it (decimal text); 0, which no listing has, otherwise.
std::int64_t productId(const Request& req, const char* key = key::kProductId);

// Copies request values into text fields: the value of each key into the field beside it.
// Both lists take their length from the call, so a field without its key does not compile.
template <std::size_t N>
void readParams(const Request& req, std::string* const (&fields)[N], const char* const (&keys)[N]) {
    for (std::size_t i = 0; i < N; ++i) *fields[i] = param(req, keys[i]);
}

// The host the client knows the server by: the Host header, else the address it came in on.
std::string requestHost(const Request& req);

void plain(Response& res, const std::string& text);
void xml(Response& res, const std::string& document);
void html(Response& res, const std::string& page, int status = 200);

}  // namespace tl::market
