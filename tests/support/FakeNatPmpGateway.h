#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tl::test {

// A NAT-PMP gateway of our own: answers on UDP port 5351 of a loopback address of its own
// (127.x.y.z, so that parallel tests do not meet), records every mapping request and grants,
// or refuses it as told.
class FakeNatPmpGateway {
public:
    enum class Mode { Grant, Refuse };
    struct MappingRequest {
        int opcode;  // 1 UDP, 2 TCP
        int privatePort;
        int publicPort;
        std::uint32_t lifetime;
        bool operator==(const MappingRequest&) const = default;
    };

    FakeNatPmpGateway(Mode mode, std::string publicAddress);
    ~FakeNatPmpGateway();
    FakeNatPmpGateway(const FakeNatPmpGateway&) = delete;
    FakeNatPmpGateway& operator=(const FakeNatPmpGateway&) = delete;

    const std::string& address() const { return address_; }
    std::vector<MappingRequest> mappingRequests() const;
    // Waits up to timeoutMs for at least count mapping requests.
    bool waitForMappingRequests(std::size_t count, int timeoutMs) const;

private:
    void serve();

    const Mode mode_;
    const std::string publicAddress_;
    std::string address_;
    int fd_ = -1;
    int wakePipe_[2] = {-1, -1};
    mutable std::mutex mutex_;
    std::vector<MappingRequest> requests_;
    std::thread thread_;
};

// A loopback address on which nothing answers NAT-PMP: requests to it are refused at once.
std::string silentNatPmpAddress();

}  // namespace tl::test
