#pragma once

#include <atomic>
#include <string>

namespace tl::market {

// The mail outbox: every mail is one RFC 5322 file in the folder, written whole or not at all.
class Outbox {
public:
    explicit Outbox(std::string folder);

    // Writes the mail; false when it could not be written or the address is empty.
    bool send(const std::string& recipient, const std::string& subject, const std::string& body);

    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
    std::atomic<unsigned> sequence_{0};
};

}  // namespace tl::market
