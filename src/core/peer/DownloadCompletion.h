#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

namespace tl {

// The end of one listing fetch, made anew for every fetch: the worker finishes it once, and
// whoever waits for that fetch listens to it alone, so the late end of an abandoned fetch can
// never end the wait for a later one.
class DownloadCompletion {
public:
    using Listener = std::function<void()>;

    // Called (on the worker's thread) when the fetch finishes; at once when it already has.
    void setListener(Listener listener);
    // No call after this returns: a waiter that goes away first detaches here.
    void clearListener();

    // The worker's last act; only the first call counts. skipped: the attachment entries left
    // out by the bounds on one opening.
    void finish(std::string listingPath, int skipped = 0);
    // Asks the worker to stop at its next read from the seller.
    void cancel() { cancelled_ = true; }
    const std::atomic<bool>& cancelled() const { return cancelled_; }

    bool finished() const;
    // The downloaded listing's path; empty when nothing new was stored.
    std::string listingPath() const;
    int entriesSkipped() const;
    // Blocks until finished or the timeout passed; true when finished.
    bool waitFor(std::chrono::milliseconds timeout) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    Listener listener_;
    bool finished_ = false;
    std::string listingPath_;
    int skipped_ = 0;
    std::atomic<bool> cancelled_{false};
};

}  // namespace tl
