#include "core/peer/ClosingConnections.h"

#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

namespace tl {

void ClosingConnections::add(Socket connection) {
    ::shutdown(connection.fd(), SHUT_WR);
    const SteadyTime deadline = std::chrono::steady_clock::now() + time_;
    std::lock_guard lock(arrivingMutex_);
    arriving_.push_back(Closing{std::move(connection), deadline});
}

bool ClosingConnections::closeOldest() {
    if (closing_.empty()) return false;
    closing_.pop_front();
    return true;
}

void ClosingConnections::clear() {
    closing_.clear();
    std::lock_guard lock(arrivingMutex_);
    arriving_.clear();
}

void ClosingConnections::addWaits(std::vector<pollfd>& waits) {
    {
        std::lock_guard lock(arrivingMutex_);
        for (Closing& closing : arriving_) closing_.push_back(std::move(closing));
        arriving_.clear();
    }
    while (closing_.size() > most_) closing_.pop_front();
    for (const Closing& closing : closing_) waits.push_back({closing.connection.fd(), POLLIN, 0});
}

bool ClosingConnections::drained(Closing& closing) const {
    std::array<char, 16384> dropped;
    for (;;) {
        const ssize_t got =
            ::recv(closing.connection.fd(), dropped.data(), dropped.size(), MSG_DONTWAIT);
        if (got > 0) {
            closing.dropped += static_cast<std::size_t>(got);
            if (closing.dropped > drainBytes_) return true;
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        return got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
    }
}

void ClosingConnections::readReady(std::span<const pollfd> waits, SteadyTime now) {
    auto wait = waits.begin();
    for (auto closing = closing_.begin(); closing != closing_.end();) {
        const bool ready = wait != waits.end() && (wait++)->revents != 0;
        if ((ready && drained(*closing)) || closing->deadline <= now)
            closing = closing_.erase(closing);
        else
            ++closing;
    }
}

std::optional<SteadyTime> ClosingConnections::nextDeadline() const {
    // Added oldest first with one time each, so the first is due first.
    if (closing_.empty()) return std::nullopt;
    return closing_.front().deadline;
}

}  // namespace tl
