#include "core/session/Heartbeat.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "core/service/Endpoints.h"
#include "core/service/ServiceRequest.h"

namespace tl {

Heartbeat::Heartbeat(std::string user, std::chrono::milliseconds period)
    : user_(std::move(user)),
      period_(period),
      thread_([this](std::stop_token stop) { run(std::move(stop)); }) {}

void Heartbeat::run(std::stop_token stop) {
    const Query beat = endpoints::heartBeat(user_);
    // The request in flight watches a flag of its own: the stop raises it.
    std::atomic<bool> abandon = false;
    const std::stop_callback abandonOnStop(stop, [&abandon] { abandon = true; });
    std::mutex mutex;
    std::condition_variable_any pause;
    std::unique_lock lock(mutex);
    while (!stop.stop_requested()) {
        try {
            requestText(beat, Credentials::Service, &abandon);
        } catch (const RequestError&) {
            // Skipped (the member stays logged in and the next beat goes out as usual), or
            // abandoned because the program is ending.
        }
        pause.wait_for(lock, stop, period_, [] { return false; });
    }
}

namespace {
std::unique_ptr<Heartbeat> sessionBeat;
std::chrono::milliseconds sessionPeriod = Heartbeat::kPeriod;
}  // namespace

void startSessionHeartbeat(const std::string& user) {
    sessionBeat = std::make_unique<Heartbeat>(user, sessionPeriod);
}

void stopSessionHeartbeat() {
    sessionBeat.reset();
}

void setSessionHeartbeatPeriod(std::chrono::milliseconds period) {
    sessionPeriod = period;
}

bool sessionHeartbeatRunning() {
    return sessionBeat != nullptr;
}

}  // namespace tl
