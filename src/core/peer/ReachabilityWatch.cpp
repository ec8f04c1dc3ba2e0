#include "core/peer/ReachabilityWatch.h"

#include <utility>

namespace tl {

ReachabilityWatch::ReachabilityWatch(ListingServerState& state, Check check)
    : state_(state), check_(std::move(check)) {
    thread_ = std::thread([this] { run(); });
}

ReachabilityWatch::~ReachabilityWatch() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wanted_.notify_all();
    thread_.join();
}

void ReachabilityWatch::recheck() {
    {
        // Under the watch's lock, so that a check ending meanwhile cannot overwrite "checking"
        // with an answer that is already out of date.
        std::lock_guard lock(mutex_);
        pending_ = true;
        state_.update(
            [](ListingServerStatus& status) { status.reachability = Reachability::Checking; });
    }
    wanted_.notify_all();
}

void ReachabilityWatch::run() {
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wanted_.wait(lock, [this] { return pending_ || stopping_; });
            if (stopping_) return;
            pending_ = false;
        }
        const std::optional<bool> answer = check_(stopping_);
        if (stopping_) return;
        std::lock_guard lock(mutex_);
        // A recheck asked for meanwhile answers instead of this one.
        if (pending_) continue;
        state_.update([&answer](ListingServerStatus& status) {
            status.reachability = !answer   ? Reachability::Unknown
                                  : *answer ? Reachability::Reachable
                                            : Reachability::Unreachable;
        });
    }
}

}  // namespace tl
