#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace tl {

// How far one fetch has come, as its worker last told.
struct DownloadProgress {
    int filesDone = 0;   // settled: stored, or given up or left out
    int filesKnown = 0;  // 0 until the listing is in and its attachments are counted
    std::uint64_t bytesReceived = 0;
    std::uint64_t bytesExpected = 0;  // 0 unless the marketplace keeps the size of every file
};

inline constexpr int kProgressWhole = 1000;
// The part of the fetch done, out of kProgressWhole, by bytes when all sizes are known, else by
// files; nothing while the files are not known yet.
std::optional<int> progressDone(const DownloadProgress& progress);

// The worker reports here as it goes, the user interface reads it from its own thread.
class FetchProgress {
public:
    // The files the fetch is made of; bytes: their sizes in all, 0 when not all are known.
    void expect(int files, std::uint64_t bytes);
    // One more file settled, with the bytes stored for it (0: none).
    void fileSettled(std::uint64_t bytesStored);
    DownloadProgress snapshot() const;

private:
    mutable std::mutex mutex_;
    DownloadProgress progress_;
};

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
    FetchProgress& progress() { return progress_; }
    const FetchProgress& progress() const { return progress_; }

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
    FetchProgress progress_;
};

}  // namespace tl
