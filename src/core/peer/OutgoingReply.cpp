#include "core/peer/OutgoingReply.h"

#include <sys/sendfile.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "core/peer/TransferProtocol.h"

namespace tl {
namespace {

// The most of the file handed to the socket in one call.
constexpr std::size_t kFilePiece = 1 << 20;

bool wouldBlock() {
    return errno == EAGAIN || errno == EWOULDBLOCK;
}

}  // namespace

OutgoingReply::OutgoingReply(Socket connection, std::uint32_t address,
                             std::unique_ptr<ServedFile> file, TakeRate least)
    : connection_(std::move(connection)),
      address_(address),
      file_(std::move(file)),
      head_(encodeReplyLength(file_->size())),
      meter_(least) {
    // Every hand-over returns at once with what the send buffer took.
    setBlocking(connection_.fd(), false);
}

OutgoingReply::Progress OutgoingReply::sendWhatFits() {
    if (!head_.empty()) {
        // Held back to go out with the file's first bytes, rather than in a packet of its own.
        const long sent = handOver(head_, offset_ < file_->size() ? MSG_MORE : 0);
        if (sent < 0) return Progress::Failed;
        head_.erase(0, static_cast<std::size_t>(sent));
        if (!head_.empty()) return Progress::Blocked;
    }
    // The kernel copies from the file to the connection; the reply keeps no buffer of its own.
    while (offset_ < file_->size()) {
        auto from = static_cast<off_t>(offset_);
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kFilePiece, file_->size() - offset_));
        const ssize_t sent = ::sendfile(connection_.fd(), file_->fd(), &from, want);
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && wouldBlock()) return Progress::Blocked;
        if (sent <= 0) return Progress::Failed;  // the peer is gone, or the file shrunk under it
        offset_ += static_cast<std::uint64_t>(sent);
        handed_ += static_cast<std::uint64_t>(sent);
    }
    return Progress::Done;
}

long OutgoingReply::handOver(std::string_view bytes, int flags) {
    std::size_t total = 0;
    while (total < bytes.size()) {
        const ssize_t sent = ::send(connection_.fd(), bytes.data() + total, bytes.size() - total,
                                    MSG_NOSIGNAL | MSG_DONTWAIT | flags);
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && !wouldBlock()) return -1;
        if (sent < 0) break;
        total += static_cast<std::size_t>(sent);
    }
    handed_ += total;
    return static_cast<long>(total);
}

bool OutgoingReply::keepingUp(SteadyTime now) {
    const std::optional<std::size_t> unacknowledged = unacknowledgedBytes(connection_.fd());
    if (unacknowledged)
        meter_.takenInAll(handed_ - std::min<std::uint64_t>(handed_, *unacknowledged));
    return !meter_.behind(now);
}

}  // namespace tl
