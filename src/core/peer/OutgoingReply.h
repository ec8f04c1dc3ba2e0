#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/peer/ServedFile.h"
#include "core/peer/SocketIo.h"

namespace tl {

// One reply of the listing server under way: the length bytes, then the file's, handed to the
// connection as far as its send buffer takes them, never waiting. The peer is judged by what it
// has taken (acknowledged), not by what the kernel has queued for it.
class OutgoingReply {
public:
    enum class Progress {
        Done,     // every byte handed to the connection
        Blocked,  // the send buffer is full: go on when the connection is ready again
        Failed,   // the peer is gone or the file cannot be read
    };

    OutgoingReply(Socket connection, std::uint32_t address, std::unique_ptr<ServedFile> file,
                  TakeRate least);

    Progress sendWhatFits();
    // False once the peer has taken less than the least rate in a stretch.
    bool keepingUp(SteadyTime now);
    SteadyTime nextCheck() const { return meter_.stretchEnd(); }

    Socket& connection() { return connection_; }
    const Socket& connection() const { return connection_; }
    std::uint32_t address() const { return address_; }

private:
    // Hands bytes to the connection without waiting: how many it took, or -1 when the peer is
    // gone.
    long handOver(std::string_view bytes);

    Socket connection_;
    std::uint32_t address_;
    std::unique_ptr<ServedFile> file_;
    std::string head_;  // what is left of the length bytes
    std::uint64_t offset_ = 0;
    std::uint64_t handed_ = 0;  // bytes handed to the connection, the length bytes included
    TakeMeter meter_;
};

}  // namespace tl
