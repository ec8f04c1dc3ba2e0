#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tl {

// The file transfer between members' clients. One TCP connection carries one request and one
// reply; the end of the reply is the end of the connection.
//   request: N as 4 bytes little-endian, then N bytes: the file name and the end byte 0xDD.
//   reply:   the file length as 4 bytes little-endian (the low 32 bits of the size), then the
//            file's bytes. A file that cannot be served gets no reply.
// A TCP stream keeps no piece boundaries, so how the bytes are cut into sends and receives is
// no part of the exchange: the server hands the file to the socket in large pieces and the
// requester takes whatever has arrived, up to kReceiveBlockSize at a time.

inline constexpr int kTransferPort = 9999;
inline constexpr std::size_t kReceiveBlockSize = 65536;
inline constexpr char kNameEndByte = '\xDD';
inline constexpr char kNameStopByte = '\xFD';  // ends a received name as the end byte does
// The longest request N the server reads: names are a product id with ".xml" or a short
// attachment path, so anything longer is not a request of this program.
inline constexpr std::uint32_t kLargestRequestLength = 4096;

// One connection's byte stream: a socket in the program, a recording in tests.
class ByteChannel {
public:
    virtual ~ByteChannel() = default;
    // Sends every byte; false when the peer is gone or stopped taking bytes for too long.
    virtual bool sendAll(std::string_view bytes) = 0;
    // Receives up to size bytes: their count, 0 when the peer closed, -1 on failure or timeout.
    virtual long receiveSome(char* buffer, std::size_t size) = 0;
};

// Fills buffer with exactly size bytes; false when the peer closed or failed first.
bool receiveExactly(ByteChannel& channel, char* buffer, std::size_t size);

std::string encodeLength(std::uint32_t value);
std::uint32_t decodeLength(std::string_view fourBytes);

// The request bytes for a file name: N = name bytes + 1, the name, the end byte.
std::string encodeFileRequest(std::string_view name);
// The name under which an attachment entry ("12345/photo.jpg") is asked for: "/" becomes "\".
std::string attachmentRequestName(std::string_view entry);
// The name the serving side reads from the N received bytes: the bytes before the first 0xDD
// or 0xFD, or all of them when neither occurs.
std::string requestedName(std::string_view received);

// Requester side.
bool sendFileRequest(ByteChannel& channel, std::string_view name);
// The announced file length; nothing when the connection ended (or failed) before 4 bytes came,
// which is how a server says it has no such file.
std::optional<std::uint32_t> receiveReplyLength(ByteChannel& channel);
enum class ReplyEnd {
    Closed,       // the server closed the connection: the whole reply is in
    Broken,       // a receive failed or timed out: what came before is kept
    StoreFailed,  // the store refused a block
};
// Hands every piece that arrives (at most kReceiveBlockSize bytes) to store until the server
// closes the connection.
ReplyEnd receiveReplyContents(ByteChannel& channel,
                              const std::function<bool(std::string_view)>& store);

// Serving side.
// The largest file the server sends: a longer one's length would not fit the reply's 4 bytes.
inline constexpr std::uint64_t kLargestServedFile = 0xFFFFFFFFu;

// A request read as its bytes arrive. It asks for exactly the bytes the request still lacks, so
// that nothing the requester sent beyond the request is taken.
class FileRequestDecoder {
public:
    explicit FileRequestDecoder(std::uint32_t largest = kLargestRequestLength)
        : largest_(largest) {}
    // How many more bytes the request needs: 0 once it is complete or refused.
    std::size_t wanted() const;
    // Takes bytes that arrived, at most wanted() of them.
    void take(std::string_view bytes);
    bool complete() const { return length_ && !refused_ && wanted() == 0; }
    bool refused() const { return refused_; }  // N was larger than the largest request
    std::string name() const;                  // the requested name, once complete

private:
    std::uint32_t largest_;
    std::string received_;  // the 4 length bytes, then the N bytes
    std::optional<std::uint32_t> length_;
    bool refused_ = false;
};

// The received name, or nothing when the request is longer than largest, or the requester
// closed, failed or timed out before the whole request came.
std::optional<std::string> receiveFileRequest(ByteChannel& channel,
                                              std::uint32_t largest = kLargestRequestLength);
// The reply's first 4 bytes for a file of size bytes: the low 32 bits of the size.
std::string encodeReplyLength(std::uint64_t size);

}  // namespace tl
