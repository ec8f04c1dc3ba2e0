#pragma once

#include <poll.h>

#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "core/peer/ClosingConnections.h"
#include "core/peer/OutgoingReply.h"

namespace tl {

// Replies to readers slower than a worker will wait for, carried on by the serving thread's
// poll: a slow reader costs a descriptor, not a thread. A reply is sent on as its connection
// takes bytes; one whose peer falls behind the least rate, or goes, is dropped; a complete one
// goes on to closing. Bounded in all and for one address. Any thread may offer a reply; the
// rest is the serving thread's.
class SlowReplies {
public:
    SlowReplies(std::size_t most, std::size_t mostPerAddress, ClosingConnections& closing)
        : most_(most), mostPerAddress_(mostPerAddress), closing_(closing) {}

    // Takes the reply when there is room, in all and for its address; false leaves it with the
    // caller.
    bool tryTake(std::unique_ptr<OutgoingReply>& reply);
    void clear();

    // Appends a write wait for each reply (those taken since the last call included).
    void addWaits(std::vector<pollfd>& waits);
    // Sends on the replies the waits of the last addWaits found ready, and drops those behind
    // the least rate at now.
    void sendReady(std::span<const pollfd> waits, SteadyTime now);
    // When the earliest reply is next to be judged by what its peer took.
    std::optional<SteadyTime> nextDeadline() const;

private:
    using Replies = std::list<std::unique_ptr<OutgoingReply>>;
    Replies::iterator drop(Replies::iterator reply, bool reset);

    const std::size_t most_;
    const std::size_t mostPerAddress_;
    ClosingConnections& closing_;
    std::mutex countMutex_;  // guards the two below
    std::vector<std::unique_ptr<OutgoingReply>> arriving_;
    std::map<std::uint32_t, std::size_t> perAddress_;  // of arriving_ and replies_
    Replies replies_;
};

}  // namespace tl
