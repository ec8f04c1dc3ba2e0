#include "core/peer/PeerFileFetch.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/peer/SocketIo.h"
#include "core/platform/Files.h"

namespace tl {
namespace {

// The most of a file gathered from the connection before it goes to the disk in one write: few
// writes for a photo, little memory for the largest attachment.
constexpr std::size_t kStoreBlock = 1 << 20;

// Stores exactly length bytes from the connection at target, through a temporary that replaces
// it only once they have all arrived. The seller's file is fetched again at every opening, so
// it is not forced to the disk.
PeerFileResult receiveContents(ByteChannel& channel, std::uint32_t length,
                               const std::string& target) {
    AtomicFileWriter part(target, Durability::Refetchable);
    if (!part.valid()) return PeerFileResult::NotStored;
    std::vector<char> block;
    for (std::uint32_t left = length; left > 0;) {
        block.resize(std::min<std::size_t>(left, kStoreBlock));
        if (!receiveExactly(channel, block.data(), block.size())) return PeerFileResult::Broken;
        if (!part.write({block.data(), block.size()})) return PeerFileResult::NotStored;
        left -= static_cast<std::uint32_t>(block.size());
    }
    return part.commit() ? PeerFileResult::Stored : PeerFileResult::NotStored;
}

}  // namespace

PeerFileResult fetchPeerFile(const PeerEndpoint& seller, const std::string& requestName,
                             const std::string& target, const PeerFileLimits& limits) {
    const Socket connection =
        connectTo(seller.address, seller.port, seller.connectTimeout, seller.localAddress);
    if (!connection.valid()) return PeerFileResult::Unreachable;
    SocketChannel channel(connection.fd(), limits.idle);
    const SteadyTime whole = std::chrono::steady_clock::now() + limits.whole;
    channel.setDeadline(limits.until ? std::min(whole, *limits.until) : whole);
    channel.setStop(limits.stop);
    if (!sendFileRequest(channel, requestName)) return PeerFileResult::NotServed;
    return receivePeerFile(channel, target, limits.largest);
}

PeerFileResult receivePeerFile(ByteChannel& channel, const std::string& target,
                               std::uint32_t largest) {
    const std::optional<std::uint32_t> length = receiveReplyLength(channel);
    if (!length) return PeerFileResult::NotServed;
    if (*length > largest) return PeerFileResult::TooLarge;
    return receiveContents(channel, *length, target);
}

}  // namespace tl
