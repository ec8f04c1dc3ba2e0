#include "PeerFetch.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdint>

namespace tl::test {

std::optional<std::string> fetchOverPeerProtocol(int port, const std::string& name) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return std::nullopt;
    timeval timeout{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::optional<std::string> file;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        // Little-endian count of the name bytes and the end byte, the name, the end byte 0xDD.
        const std::uint32_t n = static_cast<std::uint32_t>(name.size() + 1);
        std::string request;
        for (int shift = 0; shift < 32; shift += 8) request += static_cast<char>(n >> shift);
        request += name + '\xDD';
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        std::string reply;
        char buffer[8192];
        for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
            reply.append(buffer, static_cast<std::size_t>(got));
        // The reply is the little-endian length, then exactly that many bytes.
        if (reply.size() >= 4) {
            std::uint32_t length = 0;
            for (int at = 3; at >= 0; --at)
                length = (length << 8) | static_cast<unsigned char>(reply[at]);
            if (reply.size() - 4 == length) file = reply.substr(4);
        }
    }
    ::close(fd);
    return file;
}

}  // namespace tl::test
