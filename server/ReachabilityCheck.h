#pragma once

#include <chrono>
#include <mutex>
#include <set>
#include <string>

#include "core/platform/NonCopyable.h"

namespace tl::market {

// Tells a member whether others can reach their listing server: a TCP connection back to the
// member's own address, opened and closed without a byte. Only a few checks dial at once, one
// per address, so the page cannot make the server dial out without limit.
class ReachabilityCheck : NonCopyable {
public:
    enum class Answer { Reachable, Unreachable, Busy };

    ReachabilityCheck(int port, std::chrono::milliseconds timeout, std::size_t atOnce);

    // Busy when this address is being checked already or too many checks are running.
    Answer check(const std::string& address);

private:
    const int port_;
    const std::chrono::milliseconds timeout_;
    const std::size_t atOnce_;
    std::mutex mutex_;
    std::set<std::string> dialling_;
};

}  // namespace tl::market
