#pragma once

#include <poll.h>

#include <chrono>
#include <cstddef>
#include <list>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "core/peer/SocketIo.h"

namespace tl {

// Connections whose reply is complete, with their sending side shut: each is closed once its
// peer closes, or at its deadline. What the peer still sends is read and dropped (up to a
// bound), as closing a socket with unread bytes would reset the connection and cost the peer
// the end of a reply it is still reading. Each costs a descriptor and no thread; the number
// held is bounded, the oldest closed first. Any thread may add; the rest is the serving thread's.
class ClosingConnections {
public:
    ClosingConnections(std::size_t most, std::size_t drainBytes, std::chrono::milliseconds time)
        : most_(most), drainBytes_(drainBytes), time_(time) {}

    void add(Socket connection);
    // Closes the oldest connection; false when none is held.
    bool closeOldest();
    void clear();

    // Appends a read wait for each connection (those added since the last call included).
    void addWaits(std::vector<pollfd>& waits);
    // Reads from the connections the waits of the last addWaits found ready, then closes
    // those whose peer closed or sent too much, and those past their deadline at now.
    void readReady(std::span<const pollfd> waits, SteadyTime now);
    std::optional<SteadyTime> nextDeadline() const;

private:
    struct Closing {
        Socket connection;
        SteadyTime deadline;
        std::size_t dropped = 0;  // bytes read and dropped
    };

    // Whether the connection is done with: its peer closed, failed or sent too much.
    bool drained(Closing& closing) const;

    const std::size_t most_;
    const std::size_t drainBytes_;
    const std::chrono::milliseconds time_;
    std::mutex arrivingMutex_;
    std::vector<Closing> arriving_;  // added by any thread, not yet waited for
    std::list<Closing> closing_;     // oldest first
};

}  // namespace tl
