#include "core/peer/PeerFileFetch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "core/peer/SocketIo.h"

namespace tl {
namespace {

// A file being received: a unique temporary file beside the target, renamed over it by commit()
// and removed when the object goes without a commit.
class PartFile {
public:
    explicit PartFile(const std::string& target) : target_(target) {
        const std::filesystem::path path(target);
        const std::string pattern =
            (path.parent_path() / ("." + path.filename().string() + ".part.XXXXXX")).string();
        name_.assign(pattern.begin(), pattern.end());
        name_.push_back('\0');
        fd_ = ::mkstemp(name_.data());
    }
    ~PartFile() {
        if (fd_ < 0) return;
        ::close(fd_);
        std::remove(name_.data());
    }
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    bool valid() const { return fd_ >= 0; }

    bool write(const char* bytes, std::size_t size) {
        while (size > 0) {
            const ssize_t n = ::write(fd_, bytes, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            bytes += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    bool commit() {
        // mkstemp makes the file private to its owner; a download is an ordinary file.
        const bool ok = ::fchmod(fd_, 0644) == 0;
        const bool closed = ::close(std::exchange(fd_, -1)) == 0;
        if (ok && closed && std::rename(name_.data(), target_.c_str()) == 0) return true;
        std::remove(name_.data());
        return false;
    }

private:
    std::string target_;
    std::vector<char> name_;
    int fd_ = -1;
};

PeerFileResult receiveContents(ByteChannel& channel, std::uint32_t length,
                               const std::string& target) {
    PartFile part(target);
    if (!part.valid()) return PeerFileResult::NotStored;
    std::vector<char> block(kReceiveBlockSize);
    for (std::uint32_t left = length; left > 0;) {
        const long got =
            channel.receiveSome(block.data(), std::min<std::size_t>(left, block.size()));
        if (got <= 0) return PeerFileResult::Broken;
        if (!part.write(block.data(), static_cast<std::size_t>(got)))
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
