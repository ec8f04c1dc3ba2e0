#pragma once

#include <poll.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <span>
#include <vector>

#include "core/peer/SocketIo.h"
#include "core/peer/TransferProtocol.h"

namespace tl {

// The listing server's accepted connections before a worker takes them: their requests are read
// as the bytes arrive, all of them on one thread, so that silent requesters hold no worker. A
// connection whose request has not fully come by its deadline, or that asks for more than a
// request may be, is closed without a reply. The number held is bounded, in all and for one
// address: a new connection beyond a bound pushes out the oldest one it counts against.
class HeldConnections {
public:
    struct Held {
        Socket connection;
        std::uint32_t address = 0;
        SteadyTime deadline;  // for the whole request
        FileRequestDecoder request;
    };

    HeldConnections(std::size_t most, std::size_t mostPerAddress)
        : most_(most), mostPerAddress_(mostPerAddress) {}

    void add(Socket connection, std::uint32_t address, SteadyTime deadline);
    // Closes the oldest connection held; false when none is.
    bool dropOldest();
    void clear() { held_.clear(); }

    // Appends a read wait for each connection still sending its request.
    void addWaits(std::vector<pollfd>& waits) const;
    // Reads from the connections that the waits addWaits made found ready; closes those whose
    // request is refused, or unsafe by its name.
    void readReady(std::span<const pollfd> waits);
    // Closes the connections whose request is still incomplete at now.
    void dropLate(SteadyTime now);
    // The earliest deadline of an incomplete request.
    std::optional<SteadyTime> nextDeadline() const;
    // Offers the complete requests to take, one address after the other in turn (each one's
    // oldest first), so that no address can make the others wait behind its many; the ones
    // taken leave. An address whose request take refuses has no more turns this time.
    void handOver(const std::function<bool(Held&)>& take);

private:
    std::list<Held>::iterator oldest(std::optional<std::uint32_t> address);

    const std::size_t most_;
    const std::size_t mostPerAddress_;
    std::list<Held> held_;        // oldest first
    std::uint32_t lastTurn_ = 0;  // the address whose request was taken last
};

}  // namespace tl
