#pragma once

#include <chrono>
#include <stop_token>
#include <string>
#include <thread>

#include "core/platform/NonCopyable.h"

namespace tl {

// Tells the marketplace server every period that the member is still online. The first beat
// goes out at once. A beat that fails is skipped; the next goes out after the usual period.
class Heartbeat : NonCopyable {
public:
    static constexpr std::chrono::milliseconds kPeriod{300000};

    // The object going stops the thread, abandoning a beat in flight.
    explicit Heartbeat(std::string user, std::chrono::milliseconds period = kPeriod);

private:
    void run(std::stop_token stop);

    const std::string user_;
    const std::chrono::milliseconds period_;
    std::jthread thread_;  // last: stopped and joined before the members it reads go
};

// The heartbeat of the logged-in member: started by a successful login, stopped at exit.
void startSessionHeartbeat(const std::string& user);
void stopSessionHeartbeat();
// The period of heartbeats started from now on (tests shorten it).
void setSessionHeartbeatPeriod(std::chrono::milliseconds period);
bool sessionHeartbeatRunning();

}  // namespace tl
