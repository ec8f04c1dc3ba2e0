#include "core/peer/TransferProtocol.h"

#include <algorithm>
#include <array>

namespace tl {
namespace {

std::optional<std::uint32_t> receiveLength(ByteChannel& channel) {
    char length[4];
    if (!receiveExactly(channel, length, sizeof length)) return std::nullopt;
    return decodeLength(std::string_view(length, sizeof length));
}

}  // namespace

bool receiveExactly(ByteChannel& channel, char* buffer, std::size_t size) {
    std::size_t filled = 0;
    while (filled < size) {
        const long got = channel.receiveSome(buffer + filled, size - filled);
        if (got <= 0) return false;
        filled += static_cast<std::size_t>(got);
    }
    return true;
}

std::string encodeLength(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

std::uint32_t decodeLength(std::string_view fourBytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(fourBytes[i]);
    return value;
}

std::string encodeFileRequest(std::string_view name) {
    std::string request = encodeLength(static_cast<std::uint32_t>(name.size() + 1));
    request.append(name);
    request += kNameEndByte;
    return request;
}

std::string attachmentRequestName(std::string_view entry) {
    std::string name(entry);
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

std::string requestedName(std::string_view received) {
    const char nameEnds[] = {kNameEndByte, kNameStopByte};
    const std::size_t end = received.find_first_of(std::string_view(nameEnds, sizeof nameEnds));
    return std::string(received.substr(0, end));
}

bool sendFileRequest(ByteChannel& channel, std::string_view name) {
    const std::string request = encodeFileRequest(name);
    // The length goes out first, then the name with its end byte, as two sends.
    return channel.sendAll(std::string_view(request).substr(0, 4)) &&
           channel.sendAll(std::string_view(request).substr(4));
}

std::optional<std::uint32_t> receiveReplyLength(ByteChannel& channel) {
    return receiveLength(channel);
}

ReplyEnd receiveReplyContents(ByteChannel& channel,
                              const std::function<bool(std::string_view)>& store) {
    std::array<char, kReceiveBlockSize> block;
    for (;;) {
        const long got = channel.receiveSome(block.data(), block.size());
        if (got == 0) return ReplyEnd::Closed;
        if (got < 0) return ReplyEnd::Broken;
        if (!store(std::string_view(block.data(), static_cast<std::size_t>(got))))
            return ReplyEnd::StoreFailed;
    }
}

std::size_t FileRequestDecoder::wanted() const {
    if (refused_) return 0;
    const std::size_t whole = 4 + (length_ ? *length_ : 0);
    return whole - received_.size();
}

void FileRequestDecoder::take(std::string_view bytes) {
    received_.append(bytes.substr(0, wanted()));
    if (length_ || received_.size() < 4) return;
    length_ = decodeLength(received_);
    refused_ = *length_ > largest_;
}

std::string FileRequestDecoder::name() const {
    return complete() ? requestedName(std::string_view(received_).substr(4)) : std::string();
}

std::optional<std::string> receiveFileRequest(ByteChannel& channel, std::uint32_t largest) {
    FileRequestDecoder request(largest);
    std::array<char, 4096> piece;
    while (request.wanted() > 0) {
        const long got =
            channel.receiveSome(piece.data(), std::min(piece.size(), request.wanted()));
        if (got <= 0) return std::nullopt;
        request.take(std::string_view(piece.data(), static_cast<std::size_t>(got)));
    }
    if (!request.complete()) return std::nullopt;
    return request.name();
}

std::string encodeReplyLength(std::uint64_t size) {
    return encodeLength(static_cast<std::uint32_t>(size & 0xFFFFFFFFu));
}

}  // namespace tl
