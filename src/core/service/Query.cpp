#include "core/service/Query.h"

#include "core/platform/ReplaceCharacters.h"
#include "core/platform/ServerHost.h"

namespace tl {

std::string cleanQueryText(std::string_view text) {
    return replaceCharacters(text, {{'&', "and"}, {'#', "number "}});
}

std::string percentEncode(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(value.size());
    for (unsigned char c : value) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                                c == '~';
        if (unreserved) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0F];
        }
    }
    return encoded;
}

Query& Query::add(std::string_view key, std::string_view value) {
    text_ += hasKeys_ ? '&' : '?';
    hasKeys_ = true;
    text_ += key;
    text_ += '=';
    text_ += percentEncode(value);
    return *this;
}

Query& Query::addCleaned(std::string_view key, std::string_view value) {
    return add(key, cleanQueryText(value));
}

std::string Query::address() const {
    return "http://" + serverHost() + text_;
}

}  // namespace tl
