#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/peer/SocketIo.h"

namespace tl::test {

// A seller's listing server played by a test: takes the connections on a loopback port one
// after the other, records each requested name and answers it with the act.
class FakeSeller {
public:
    using Act = std::function<void(int fd, const std::string& name)>;

    explicit FakeSeller(Act act);
    ~FakeSeller();
    FakeSeller(const FakeSeller&) = delete;
    FakeSeller& operator=(const FakeSeller&) = delete;

    int port() const { return port_; }
    std::vector<std::string> requests() const;

private:
    void serve();

    Act act_;
    Socket listening_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    bool stopping_ = false;
    std::thread thread_;
};

// Acts: answer with the named files (no reply for any other name); announce a length and send
// some bytes; announce a length and send without end; announce a length and send one byte per
// period; take the request and send nothing until the requester goes.
FakeSeller::Act serveFiles(std::map<std::string, std::string> files);
FakeSeller::Act announce(std::uint32_t length, std::string bytes);
FakeSeller::Act endlessStream(std::uint32_t length);
FakeSeller::Act trickle(std::uint32_t length, std::chrono::milliseconds period);
FakeSeller::Act silent();

}  // namespace tl::test
