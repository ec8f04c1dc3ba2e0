#include "RouteSupport.h"

#include "RequestValues.h"

namespace tl::market {

std::string param(const Request& req, const char* key) {
    return req.get_param_value(key);
}

std::int64_t productId(const Request& req, const char* key) {
    return productIdValue(param(req, key));
}

std::string requestHost(const Request& req) {
    const std::string host = req.get_header_value("Host");
    if (!host.empty()) return host;
    return req.local_addr + ":" + std::to_string(req.local_port);
}

void plain(Response& res, const std::string& text) {
    res.set_content(text, kPlain);
}

void xml(Response& res, const std::string& document) {
    res.set_content(document, kXml);
}

void html(Response& res, const std::string& page, int status) {
    res.status = status;
    res.set_content(page, kHtml);
}

}  // namespace tl::market
