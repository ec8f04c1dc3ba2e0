#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "core/platform/NonCopyable.h"

namespace tl {

// Tells the marketplace server every period that the member is still online. The first beat
// goes out at once. A beat that fails is skipped; the next goes out after the usual period.
class Heartbeat : NonCopyable {
public:
    static constexpr std::chrono::milliseconds kPeriod{300000};

    explicit Heartbeat(std::string user, std::chrono::milliseconds period = kPeriod);
    ~Heartbeat();  // stops the thread, abandoning a beat in flight

private:
    void run();

    const std::string user_;
    const std::chrono::milliseconds period_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<bool> stopping_ = false;
    std::thread thread_;
};

}  // namespace tl

namespace tl {

// The heartbeat of the logged-in member: started by a successful login, stopped at exit.
void startSessionHeartbeat(const std::string& user);
void stopSessionHeartbeat();
// The period of heartbeats started from now on (tests shorten it).
void setSessionHeartbeatPeriod(std::chrono::milliseconds period);
bool sessionHeartbeatRunning();

}  // namespace tl
