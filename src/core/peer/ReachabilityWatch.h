#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

#include "core/peer/ListingServerState.h"

namespace tl {

// Keeps the reachability in the listing server state current: each recheck() asks again on a
// worker thread of its own, while the state says "checking". Rechecks asked for during a check
// make one more check after it. The check gets a flag that is set when the watch goes.
class ReachabilityWatch {
public:
    using Check = std::function<std::optional<bool>(const std::atomic<bool>& abandon)>;

    // The watch going abandons a check in flight and waits for the worker.
    ReachabilityWatch(ListingServerState& state, Check check);
    ReachabilityWatch(const ReachabilityWatch&) = delete;
    ReachabilityWatch& operator=(const ReachabilityWatch&) = delete;

    void recheck();

private:
    void run(std::stop_token stop);

    ListingServerState& state_;
    const Check check_;
    std::mutex mutex_;
    std::condition_variable_any wanted_;
    bool pending_ = false;
    std::jthread thread_;  // last: stopped and joined before the members it uses go
};

}  // namespace tl
