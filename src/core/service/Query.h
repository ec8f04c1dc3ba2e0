#pragma once

#include <string>
#include <string_view>

namespace tl {

// Free-text cleaner of the listing and user requests: every "&" becomes "and", then every "#"
// becomes "number " (with the trailing space). Nothing else changes.
std::string cleanQueryText(std::string_view text);

// Percent-encodes a query value: everything but letters, digits and "-._~" becomes %XX, so a
// value can never add or split request keys.
std::string percentEncode(std::string_view value);

// A server path with its query string, keys in the order they are added.
class Query {
public:
    explicit Query(std::string path) : text_(std::move(path)) {}

    Query& add(std::string_view key, std::string_view value);         // value percent-encoded
    Query& addCleaned(std::string_view key, std::string_view value);  // cleaned, then encoded

    const std::string& pathAndQuery() const { return text_; }
    // "http://" + server host + path and query: the address of a style A request.
    std::string address() const;

private:
    std::string text_;
    bool hasKeys_ = false;
};

}  // namespace tl
