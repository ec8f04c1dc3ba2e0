#include "Outbox.h"

#include <chrono>
#include <ctime>

#include "core/platform/Files.h"

namespace tl::market {
namespace {

// Header values keep to one line, so a member's text cannot add headers.
std::string headerValue(const std::string& text) {
    std::string out;
    for (const char c : text)
        if (c != '\r' && c != '\n') out += c;
    return out;
}

std::string crlfLines(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') continue;
        if (text[i] == '\n') out += '\r';
        out += text[i];
    }
    return out;
}

std::string mailDate(std::time_t when) {
    std::tm utc{};
    gmtime_r(&when, &utc);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, "%a, %d %b %Y %H:%M:%S +0000", &utc);
    return buffer;
}

}  // namespace

Outbox::Outbox(std::string folder) : folder_(std::move(folder)) {
    createDirectories(folder_);
}

bool Outbox::send(const std::string& recipient, const std::string& subject,
                  const std::string& body) {
    const std::string to = headerValue(recipient);
    if (to.empty()) return false;
    const auto now = std::chrono::system_clock::now();
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count();
    const std::string id = std::to_string(micros) + "-" + std::to_string(++sequence_);
    const std::string mail =
        "From: Tradeloom Market <market@tradeloom.invalid>\r\n"
        "To: " +
        to +
        "\r\n"
        "Subject: " +
        headerValue(subject) +
        "\r\n"
        "Date: " +
        mailDate(std::chrono::system_clock::to_time_t(now)) +
        "\r\n"
        "Message-ID: <" +
        id +
        "@tradeloom.invalid>\r\n"
        "MIME-Version: 1.0\r\n"
        "Content-Type: text/plain; charset=utf-8\r\n"
        "\r\n" +
        crlfLines(body) + "\r\n";
    return writeFileAtomically(folder_ + "/" + id + ".eml", mail);
}

}  // namespace tl::market
