#include "core/peer/DownloadCompletion.h"

#include <algorithm>
#include <utility>

namespace tl {

std::optional<int> progressDone(const DownloadProgress& progress) {
    if (progress.filesKnown <= 0) return std::nullopt;
    if (progress.filesDone >= progress.filesKnown) return kProgressWhole;
    // Short of the end until every file is settled, whatever the bytes say.
    if (progress.bytesExpected > 0)
        return static_cast<int>(std::min<std::uint64_t>(
            kProgressWhole - 1, progress.bytesReceived * kProgressWhole / progress.bytesExpected));
    return progress.filesDone * kProgressWhole / progress.filesKnown;
}

void FetchProgress::expect(int files, std::uint64_t bytes) {
    std::lock_guard lock(mutex_);
    progress_.filesKnown = files;
    progress_.bytesExpected = bytes;
}

void FetchProgress::fileSettled(std::uint64_t bytesStored) {
    std::lock_guard lock(mutex_);
    ++progress_.filesDone;
    progress_.bytesReceived += bytesStored;
}

DownloadProgress FetchProgress::snapshot() const {
    std::lock_guard lock(mutex_);
    return progress_;
}

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
