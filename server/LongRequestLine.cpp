#include "LongRequestLine.h"

#include <string_view>

#include "Text.h"

namespace tl::market {
namespace {

constexpr std::size_t kLibraryRequestLine = 8192;

bool hasHeader(std::string_view headers, std::string_view name) {
    const std::string lower = asciiLower(headers);
    return lower.find("\r\n" + asciiLower(name) + ":") != std::string::npos;
}

}  // namespace

bool moveLongQueryToBody(std::string& buffer) {
    const std::size_t lineEnd = buffer.find("\r\n");
    if (lineEnd == std::string::npos || lineEnd <= kLibraryRequestLine ||
        lineEnd > kMaxRequestLine || buffer.compare(0, 4, "GET ") != 0)
        return false;
    const std::size_t headEnd = buffer.find("\r\n\r\n", lineEnd);
    const std::size_t targetEnd = buffer.find(' ', 4);
    const std::size_t query = buffer.find('?', 4);
    if (headEnd == std::string::npos || targetEnd == std::string::npos || targetEnd > lineEnd ||
        query == std::string::npos || query > targetEnd)
        return false;
    // headers holds "\r\n" before every header line.
    const std::string_view headers(buffer.data() + lineEnd, headEnd - lineEnd);
    if (hasHeader(headers, "Content-Length") || hasHeader(headers, "Transfer-Encoding"))
        return false;
    const std::string body = buffer.substr(query + 1, targetEnd - query - 1);
    std::string rewritten = "POST " + buffer.substr(4, query - 4) +
                            buffer.substr(targetEnd, lineEnd - targetEnd) + std::string(headers) +
                            "\r\nContent-Type: application/octet-stream"
                            "\r\nContent-Length: " +
                            std::to_string(body.size()) + "\r\n\r\n" + body;
    buffer = rewritten + buffer.substr(headEnd + 4);
    return true;
}

}  // namespace tl::market
