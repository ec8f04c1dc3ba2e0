#include "core/peer/DownloadCompletion.h"

#include <utility>

namespace tl {

void DownloadCompletion::setListener(Listener listener) {
    std::lock_guard lock(mutex_);
    listener_ = std::move(listener);
    if (finished_ && listener_) listener_();
}

void DownloadCompletion::clearListener() {
    std::lock_guard lock(mutex_);
    listener_ = nullptr;
}

void DownloadCompletion::finish(std::string listingPath, int skipped) {
    {
        std::lock_guard lock(mutex_);
        if (finished_) return;
        finished_ = true;
        listingPath_ = std::move(listingPath);
        skipped_ = skipped;
        // Called under the lock, so a waiter detaching in clearListener() is never called after.
        if (listener_) listener_();
    }
    changed_.notify_all();
}

bool DownloadCompletion::finished() const {
    std::lock_guard lock(mutex_);
    return finished_;
}

std::string DownloadCompletion::listingPath() const {
    std::lock_guard lock(mutex_);
    return listingPath_;
}

int DownloadCompletion::entriesSkipped() const {
    std::lock_guard lock(mutex_);
    return skipped_;
}

bool DownloadCompletion::waitFor(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return finished_; });
}

}  // namespace tl
