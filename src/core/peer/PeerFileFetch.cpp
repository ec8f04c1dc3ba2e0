#include "core/peer/PeerFileFetch.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/peer/SocketIo.h"

namespace tl {
namespace {

// The most of a file gathered from the connection before it goes to the disk in one write: few
// writes for a photo, little memory for the largest attachment.
constexpr std::size_t kStoreBlock = 1 << 20;

PeerFileResult receiveContents(ByteChannel& channel, std::uint32_t length,
                               const std::string& target, ArrivedFile& arrived, bool keepBytes) {
    auto part = std::make_unique<AtomicFileWriter>(target);
    if (!part->valid()) return PeerFileResult::NotStored;
    std::vector<char> block;
    std::string bytes;
    for (std::uint32_t left = length; left > 0;) {
        block.resize(std::min<std::size_t>(left, kStoreBlock));
        if (!receiveExactly(channel, block.data(), block.size())) return PeerFileResult::Broken;
        if (!part->write({block.data(), block.size()})) return PeerFileResult::NotStored;
        if (keepBytes) bytes.append(block.data(), block.size());
        left -= static_cast<std::uint32_t>(block.size());
    }
    // The disk takes the bytes while the next file arrives.
    part->startWriteBack();
    arrived = {std::move(part), length, std::move(bytes)};
    return PeerFileResult::Stored;
}

}  // namespace

PeerFileResult fetchUncommittedPeerFile(const PeerEndpoint& seller, const std::string& requestName,
                                        const std::string& target, const PeerFileLimits& limits,
                                        ArrivedFile& arrived, bool keepBytes) {
    const Socket connection =
        connectTo(seller.address, seller.port, seller.connectTimeout, seller.localAddress);
    if (!connection.valid()) return PeerFileResult::Unreachable;
    SocketChannel channel(connection.fd(), limits.idle);
    const SteadyTime whole = std::chrono::steady_clock::now() + limits.whole;
    channel.setDeadline(limits.until ? std::min(whole, *limits.until) : whole);
    channel.setStop(limits.stop);
    if (!sendFileRequest(channel, requestName)) return PeerFileResult::NotServed;
    const std::optional<std::uint32_t> length = receiveReplyLength(channel);
    if (!length) return PeerFileResult::NotServed;
    if (*length > limits.largest) return PeerFileResult::TooLarge;
    return receiveContents(channel, *length, target, arrived, keepBytes);
}

PeerFileResult fetchPeerFile(const PeerEndpoint& seller, const std::string& requestName,
                             const std::string& target, const PeerFileLimits& limits) {
    ArrivedFile arrived;
    const PeerFileResult result =
        fetchUncommittedPeerFile(seller, requestName, target, limits, arrived);
    if (result != PeerFileResult::Stored) return result;
    return arrived.file->commit() ? PeerFileResult::Stored : PeerFileResult::NotStored;
}

}  // namespace tl
