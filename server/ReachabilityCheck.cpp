#include "ReachabilityCheck.h"

#include <unistd.h>

#include "core/platform/ConnectWithTimeout.h"

namespace tl::market {
ReachabilityCheck::ReachabilityCheck(int port, std::chrono::milliseconds timeout,
                                     std::size_t atOnce)
    : port_(port), timeout_(timeout), atOnce_(atOnce) {}

ReachabilityCheck::Answer ReachabilityCheck::check(const std::string& address) {
    {
        std::lock_guard lock(mutex_);
        if (dialling_.size() >= atOnce_ || !dialling_.insert(address).second) return Answer::Busy;
    }
    struct Done {
        ReachabilityCheck& check;
        const std::string& address;
        ~Done() {
            std::lock_guard lock(check.mutex_);
            check.dialling_.erase(address);
        }
    } done{*this, address};
    const int connection =
        connectWithTimeout(address, port_, timeout_, {}, HostForm::NumericAddress);
    if (connection < 0) return Answer::Unreachable;
    ::close(connection);
    return Answer::Reachable;
}

}  // namespace tl::market
