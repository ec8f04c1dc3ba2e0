#include "core/peer/PeerFileFetch.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/peer/SocketIo.h"
#include "core/platform/Files.h"

namespace tl {
namespace {

PeerFileResult receiveContents(ByteChannel& channel, std::uint32_t length,
                               const std::string& target) {
    AtomicFileWriter part(target);
    if (!part.valid()) return PeerFileResult::NotStored;
    std::vector<char> block(kReceiveBlockSize);
    for (std::uint32_t left = length; left > 0;) {
        const long got =
            channel.receiveSome(block.data(), std::min<std::size_t>(left, block.size()));
        if (got <= 0) return PeerFileResult::Broken;
        if (!part.write({block.data(), static_cast<std::size_t>(got)}))
            return PeerFileResult::NotStored;
        left -= static_cast<std::uint32_t>(got);
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
    channel.setDeadline(std::chrono::steady_clock::now() + limits.whole);
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
