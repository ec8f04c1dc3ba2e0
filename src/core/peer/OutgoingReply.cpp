#include "core/peer/OutgoingReply.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

#include "core/peer/TransferProtocol.h"

namespace tl {
namespace {

// The most of the file read and handed to the socket in one call: large, since a loopback or
// fast peer takes it whole, and every call costs a read and a send (64 KiB pieces served at
// about half the speed of a plain socket copy).
constexpr std::size_t kFilePiece = 1024 * 1024;

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
      meter_(least) {}

OutgoingReply::Progress OutgoingReply::sendWhatFits() {
    if (!head_.empty()) {
        const long sent = handOver(head_);
        if (sent < 0) return Progress::Failed;
        head_.erase(0, static_cast<std::size_t>(sent));
        if (!head_.empty()) return Progress::Blocked;
    }
    // What does not fit is read from the file again next time: the reply keeps no buffer of
    // its own while the peer is slow.
    std::vector<char> piece(kFilePiece);
    while (offset_ < file_->size()) {
        const auto want = static_cast<std::size_t>(
            std::min<std::uint64_t>(piece.size(), file_->size() - offset_));
        const ssize_t count = ::pread(file_->fd(), piece.data(), want, static_cast<off_t>(offset_));
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return Progress::Failed;  // unreadable, or shrunk under the reply
        const long sent = handOver(std::string_view(piece.data(), static_cast<std::size_t>(count)));
        if (sent < 0) return Progress::Failed;
        offset_ += static_cast<std::uint64_t>(sent);
        if (sent < count) return Progress::Blocked;
    }
    return Progress::Done;
}

long OutgoingReply::handOver(std::string_view bytes) {
    std::size_t total = 0;
    while (total < bytes.size()) {
        const ssize_t sent = ::send(connection_.fd(), bytes.data() + total, bytes.size() - total,
                                    MSG_NOSIGNAL | MSG_DONTWAIT);
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
