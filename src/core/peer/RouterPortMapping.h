#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace tl {

// Asks the home router to forward a TCP port to this machine: finds the gateway, learns the
// local address the gateway sees, and adds the mapping (same external and internal port,
// description "Tradeloom"). It runs on a thread of its own so that nothing waits for it; every
// failure is silent. A mapping it made is removed when the object goes.
class RouterPortMapping {
public:
    struct Gateway {
        std::string rootDescriptionUrl;  // a gateway known by its description address; empty:
                                         // discover one on the local network
        std::string multicastInterface;  // local address the discovery leaves from; empty: any
    };

    RouterPortMapping(int port, Gateway gateway);
    ~RouterPortMapping();
    RouterPortMapping(const RouterPortMapping&) = delete;
    RouterPortMapping& operator=(const RouterPortMapping&) = delete;

    // Waits for the attempt to end; true when the router took the mapping.
    bool waitForMapping();
    // The local address the gateway sees (empty until found); read after waitForMapping().
    const std::string& localAddress() const { return localAddress_; }

private:
    void map();

    const std::string port_;
    const Gateway gateway_;
    std::atomic<bool> stopping_{false};
    // Written by the mapping thread, read once it has ended.
    std::string controlUrl_;
    std::string serviceType_;
    std::string localAddress_;
    bool mapped_ = false;
    std::thread thread_;
};

}  // namespace tl
