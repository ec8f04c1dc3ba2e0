#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/peer/SocketIo.h"

namespace tl {

// The listing server's workers: a fixed number of threads, each serving one connection at a
// time, with at most a few connections from any one address in service at once, so that no
// single requester can occupy every worker.
class ServingPool {
public:
    // Answers the request for name on the connection from address: the pool closes the
    // connection unless the answer moved it elsewhere. Runs on a worker thread.
    using Serve =
        std::function<void(Socket& connection, std::uint32_t address, const std::string& name)>;

    // freed runs on a worker each time it is done with a connection.
    ServingPool(int workers, int perAddress, Serve serve, std::function<void()> freed);
    ~ServingPool();  // stops
    ServingPool(const ServingPool&) = delete;
    ServingPool& operator=(const ServingPool&) = delete;

    // Takes the connection for a worker when one is free and the address has room; leaves the
    // connection with the caller and returns false otherwise.
    bool tryTake(Socket& connection, std::uint32_t address, const std::string& name);
    // Cuts off every connection in service, drops those not yet begun and joins the workers.
    void stop();

private:
    struct Job {
        Socket connection;
        std::uint32_t address = 0;
        std::string name;
    };

    void work();
    void serveJob(Job& job);

    const int workers_;
    const int perAddress_;
    const Serve serve_;
    const std::function<void()> freed_;
    std::mutex mutex_;
    std::condition_variable jobArrived_;
    std::deque<Job> jobs_;
    int busy_ = 0;                                 // jobs queued or in service
    std::map<std::uint32_t, int> perAddressBusy_;  // the same, by address
    std::set<int> inService_;                      // their sockets, cut off by stop()
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace tl
