#include "core/peer/ListingServerState.h"

#include <utility>

namespace tl {

ListingServerStatus ListingServerState::status() const {
    std::lock_guard lock(mutex_);
    return status_;
}

void ListingServerState::update(const std::function<void(ListingServerStatus&)>& change) {
    std::lock_guard lock(mutex_);
    ListingServerStatus changed = status_;
    change(changed);
    if (changed == status_) return;
    status_ = std::move(changed);
    if (listener_) listener_(status_);
}

void ListingServerState::reset() {
    update([](ListingServerStatus& status) { status = {}; });
}

void ListingServerState::setListener(Listener listener) {
    std::lock_guard lock(mutex_);
    listener_ = std::move(listener);
    if (listener_) listener_(status_);
}

void ListingServerState::clearListener() {
    std::lock_guard lock(mutex_);
    listener_ = nullptr;
}

ListingServerState& listingServerState() {
    static ListingServerState state;
    return state;
}

}  // namespace tl
