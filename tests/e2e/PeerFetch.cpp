#include "PeerFetch.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

namespace tl::test {

std::optional<std::string> fetchOverPeerProtocol(int port, const std::string& name) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    // Little-endian count of the name bytes and the end byte, the name, the end byte 0xDD.
    const std::uint32_t n = static_cast<std::uint32_t>(name.size() + 1);
    std::string request;
    for (int shift = 0; shift < 32; shift += 8) request += static_cast<char>((n >> shift) & 0xFF);
    request += name;
    request += '\xDD';
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);

    std::string reply;
    char buffer[4096];
    for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) reply.append(buffer, got);
    ::close(fd);
    if (reply.size() < 4) return std::nullopt;
    return reply.substr(4);
}

}  // namespace tl::test
