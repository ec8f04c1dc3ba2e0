#include "ServerProcess.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>

#include "core/peer/CServerThread.h"
#include "core/peer/SocketIo.h"
#include "core/peer/TransferProtocol.h"

namespace soak {
namespace {

// Runs the listing server in this (child) process until the parent closes the pipe.
[[noreturn]] void runServer(int portPipe, int stopPipe) {
    tl::CServerThread server(
        tl::CServerThread::Settings{0, "127.0.0.1", tl::CServerThread::kRequestTimeout, {}});
    const int port = server.start() ? server.port() : 0;
    [[maybe_unused]] const ssize_t written = ::write(portPipe, &port, sizeof port);
    char byte;
    while (::read(stopPipe, &byte, 1) > 0) {
    }
    server.stop();
    std::_Exit(0);
}

}  // namespace

ServerProcess::ServerProcess() {
    int portPipe[2], stopPipe[2];
    if (::pipe(portPipe) != 0) return;
    if (::pipe(stopPipe) != 0) {
        ::close(portPipe[0]);
        ::close(portPipe[1]);
        return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(stopPipe[1]);
        runServer(portPipe[1], stopPipe[0]);
    }
    ::close(stopPipe[0]);
    ::close(portPipe[1]);
    stopPipe_ = stopPipe[1];
    if (pid_ < 0 || ::read(portPipe[0], &port_, sizeof port_) != sizeof port_) port_ = 0;
    ::close(portPipe[0]);
}

ServerProcess::~ServerProcess() {
    if (stopPipe_ >= 0) ::close(stopPipe_);
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
}

long ServerProcess::statusField(const std::string& field) const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0) return std::atol(line.c_str() + field.size() + 1);
    return -1;
}

bool fetchWhole(int port, const std::string& name, const std::string& expected,
                const std::string& localAddress, std::chrono::milliseconds wait) {
    tl::Socket connection = tl::connectTo("127.0.0.1", port, wait, localAddress);
    tl::SocketChannel channel(connection.fd(), wait);
    if (!connection.valid() || !tl::sendFileRequest(channel, name)) return false;
    const std::optional<std::uint32_t> length = tl::receiveReplyLength(channel);
    std::string received;
    const tl::ReplyEnd end = tl::receiveReplyContents(channel, [&](std::string_view block) {
        received.append(block);
        return true;
    });
    return length == expected.size() && end == tl::ReplyEnd::Closed && received == expected;
}

std::string patterned(std::size_t size, int seed) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + seed) >> 2);
    return bytes;
}

}  // namespace soak
