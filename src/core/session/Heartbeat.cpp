#include "core/session/Heartbeat.h"

#include <memory>

#include "core/service/Endpoints.h"
#include "core/service/ServiceRequest.h"

namespace tl {

Heartbeat::Heartbeat(std::string user, std::chrono::milliseconds period)
    : user_(std::move(user)), period_(period), thread_([this] { run(); }) {}

Heartbeat::~Heartbeat() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void Heartbeat::run() {
    const Query beat = endpoints::heartBeat(user_);
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        lock.unlock();
        try {
            requestText(beat, Credentials::Service, &stopping_);
        } catch (const RequestError&) {
            // Skipped (the member stays logged in and the next beat goes out as usual), or
            // abandoned because the program is ending.
        }
        lock.lock();
        wake_.wait_for(lock, period_, [this] { return stopping_.load(); });
    }
}

}  // namespace tl

namespace tl {
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
