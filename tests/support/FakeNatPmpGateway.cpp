#include "support/FakeNatPmpGateway.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <stdexcept>

#include "support/WaitFor.h"

namespace tl::test {
namespace {

constexpr int kNatPmpPort = 5351;
constexpr std::uint16_t kNotAuthorized = 2;

std::string randomLoopbackAddress() {
    static std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<int> part(1, 254);
    return "127." + std::to_string(part(random)) + "." + std::to_string(part(random)) + "." +
           std::to_string(part(random));
}

// A UDP socket on port 5351 of a fresh loopback address, with that address.
std::pair<int, std::string> bindFreshAddress() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const std::string address = randomLoopbackAddress();
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(kNatPmpPort);
        ::inet_pton(AF_INET, address.c_str(), &local.sin_addr);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0)
            return {fd, address};
        ::close(fd);
    }
    throw std::runtime_error("no loopback address free for a NAT-PMP gateway");
}

void put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>((value >> 8) & 0xff);
    out += static_cast<char>(value & 0xff);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value >> 16);
    put16(out, value & 0xffff);
}

std::uint32_t get(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 8) | bytes[i];
    return value;
}

}  // namespace

FakeNatPmpGateway::FakeNatPmpGateway(Mode mode, std::string publicAddress)
    : mode_(mode), publicAddress_(std::move(publicAddress)) {
    std::tie(fd_, address_) = bindFreshAddress();
    if (::pipe2(wakePipe_, O_CLOEXEC) != 0) throw std::runtime_error("no pipe");
    thread_ = std::thread([this] { serve(); });
}

FakeNatPmpGateway::~FakeNatPmpGateway() {
    const char wake = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakePipe_[1], &wake, 1);
    thread_.join();
    for (int fd : {fd_, wakePipe_[0], wakePipe_[1]}) ::close(fd);
}

std::vector<FakeNatPmpGateway::MappingRequest> FakeNatPmpGateway::mappingRequests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool FakeNatPmpGateway::waitForMappingRequests(std::size_t count, int timeoutMs) const {
    return waitFor([&] { return mappingRequests().size() >= count; },
                   std::chrono::milliseconds(timeoutMs));
}

void FakeNatPmpGateway::serve() {
    for (;;) {
        pollfd waits[2] = {{fd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0) continue;
        if (waits[1].revents != 0) return;
        unsigned char request[64];
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n = ::recvfrom(fd_, request, sizeof request, 0,
                                     reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (n < 2 || request[0] != 0) continue;
        const int opcode = request[1];
        std::string reply;
        reply += '\0';
        reply += static_cast<char>(128 + opcode);
        const std::uint16_t result = mode_ == Mode::Refuse ? kNotAuthorized : 0;
        put16(reply, result);
        put32(reply, 1000);  // seconds since the gateway started
        if (opcode == 0 && n == 2) {
            in_addr publicAddress{};
            ::inet_pton(AF_INET, publicAddress_.c_str(), &publicAddress);
            reply.append(reinterpret_cast<const char*>(&publicAddress), 4);
        } else if ((opcode == 1 || opcode == 2) && n == 12) {
            const MappingRequest asked{opcode, static_cast<int>(get(request + 4, 2)),
                                       static_cast<int>(get(request + 6, 2)), get(request + 8, 4)};
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(asked);
            }
            put16(reply, asked.privatePort);
            put16(reply, result == 0 ? asked.publicPort : 0);
            put32(reply, result == 0 ? asked.lifetime : 0);
        } else {
            continue;
        }
        ::sendto(fd_, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from),
                 fromLength);
    }
}

std::string silentNatPmpAddress() {
    return randomLoopbackAddress();
}

}  // namespace tl::test
