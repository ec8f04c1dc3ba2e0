#include "core/peer/SlowReplies.h"

#include <algorithm>
#include <utility>

namespace tl {

bool SlowReplies::tryTake(std::unique_ptr<OutgoingReply>& reply) {
    std::lock_guard lock(countMutex_);
    std::size_t all = 0;
    for (const auto& [address, count] : perAddress_) all += count;
    const auto found = perAddress_.find(reply->address());
    if (all >= most_ || (found != perAddress_.end() && found->second >= mostPerAddress_) ||
        mostPerAddress_ == 0)
        return false;
    ++perAddress_[reply->address()];
    arriving_.push_back(std::move(reply));
    return true;
}

void SlowReplies::clear() {
    std::lock_guard lock(countMutex_);
    replies_.clear();
    arriving_.clear();
    perAddress_.clear();
}

void SlowReplies::addWaits(std::vector<pollfd>& waits) {
    {
        std::lock_guard lock(countMutex_);
        for (auto& reply : arriving_) replies_.push_back(std::move(reply));
        arriving_.clear();
    }
    for (const auto& reply : replies_) waits.push_back({reply->connection().fd(), POLLOUT, 0});
}

SlowReplies::Replies::iterator SlowReplies::drop(Replies::iterator reply, bool reset) {
    if (reset)
        resetOnClose((*reply)->connection());  // frees what it still held at once
    else
        closing_.add(std::move((*reply)->connection()));
    std::lock_guard lock(countMutex_);
    const auto count = perAddress_.find((*reply)->address());
    if (count != perAddress_.end() && --count->second == 0) perAddress_.erase(count);
    return replies_.erase(reply);
}

void SlowReplies::sendReady(std::span<const pollfd> waits, SteadyTime now) {
    auto wait = waits.begin();
    for (auto reply = replies_.begin(); reply != replies_.end();) {
        const bool ready = wait != waits.end() && (wait++)->revents != 0;
        if (ready) {
            const OutgoingReply::Progress progress = (*reply)->sendWhatFits();
            if (progress != OutgoingReply::Progress::Blocked) {
                reply = drop(reply, progress == OutgoingReply::Progress::Failed);
                continue;
            }
        }
        if ((ready || now >= (*reply)->nextCheck()) && !(*reply)->keepingUp(now)) {
            reply = drop(reply, true);
            continue;
        }
        ++reply;
    }
}

std::optional<SteadyTime> SlowReplies::nextDeadline() const {
    std::optional<SteadyTime> next;
    for (const auto& reply : replies_)
        if (!next || reply->nextCheck() < *next) next = reply->nextCheck();
    return next;
}

}  // namespace tl
