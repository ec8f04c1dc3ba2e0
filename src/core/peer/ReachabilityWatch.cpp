#include "core/peer/ReachabilityWatch.h"

#include <utility>

namespace tl {

ReachabilityWatch::ReachabilityWatch(ListingServerState& state, Check check)
    : state_(state),
      check_(std::move(check)),
      thread_([this](std::stop_token stop) { run(std::move(stop)); }) {}

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

void ReachabilityWatch::run(std::stop_token stop) {
    // The check in flight watches a flag of its own: the stop raises it.
    std::atomic<bool> abandon = false;
    const std::stop_callback abandonOnStop(stop, [&abandon] { abandon = true; });
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            if (!wanted_.wait(lock, stop, [this] { return pending_; }) || stop.stop_requested())
                return;
            pending_ = false;
        }
        const std::optional<bool> answer = check_(abandon);
        if (stop.stop_requested()) return;
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
