#include "core/peer/CServerThread.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <span>
#include <utility>
#include <vector>

#include "core/peer/ServedFile.h"
#include "core/platform/Ui.h"

namespace tl {
namespace {

constexpr char kServerPortNotStartedText[] = "SERVER PORT NOT STARTED";

// A pause after a failed accept, so a lasting failure (no descriptors left) cannot spin.
constexpr std::chrono::milliseconds kAcceptRetryPause{20};
// The most connections accepted in one round, so that a flood of them cannot starve the
// requests already held.
constexpr int kAcceptBurst = 64;

int pollTimeout(std::optional<SteadyTime> deadline) {
    if (!deadline) return -1;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, 1 << 30));
}

}  // namespace

CServerThread::CServerThread(Settings settings, ListingServerLimits limits)
    : settings_(std::move(settings)), limits_(limits), held_(limits.held, limits.heldPerAddress) {}

CServerThread::~CServerThread() {
    stop();
}

bool CServerThread::start() {
    if (thread_.joinable()) return true;
    listening_ = listenOn(settings_.bindAddress, settings_.port, kBacklog);
    if (!listening_.valid() || !setBlocking(listening_.fd(), false) ||
        ::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        listening_.close();
        ui().messageBox("", kServerPortNotStartedText);
        return false;
    }
    port_ = localPort(listening_);
    stopping_ = false;
    pool_ = std::make_unique<ServingPool>(
        limits_.workers, limits_.workersPerAddress,
        [this](Socket& connection, const std::string& name) { answerRequest(connection, name); },
        [this] { wake(); });
    thread_ = std::thread([this] { serve(); });
    // The router is asked beside serving, so that a slow or missing router delays no request.
    if (settings_.router) mapping_ = std::make_unique<RouterPortMapping>(port_, *settings_.router);
    return true;
}

void CServerThread::stop() {
    if (!thread_.joinable()) return;
    stopping_ = true;
    wake();
    thread_.join();
    pool_.reset();     // cuts off the connections in service
    mapping_.reset();  // removes the mapping it made
    listening_.close();
    for (int& fd : wakePipe_) ::close(std::exchange(fd, -1));
}

void CServerThread::wake() {
    const char wake = 1;
    // A full pipe already wakes the accepting thread.
    [[maybe_unused]] const ssize_t written = ::write(wakePipe_[1], &wake, 1);
}

void CServerThread::serve() {
    std::vector<pollfd> waits;
    while (!stopping_) {
        waits = {{listening_.fd(), POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        held_.addWaits(waits);
        if (::poll(waits.data(), waits.size(), pollTimeout(held_.nextDeadline())) < 0) {
            if (errno != EINTR) std::this_thread::sleep_for(kAcceptRetryPause);
            continue;
        }
        if (waits[1].revents != 0) {
            char wakes[64];
            while (::read(wakePipe_[0], wakes, sizeof wakes) > 0) {
            }
        }
        if (stopping_) break;
        held_.readReady(std::span<const pollfd>(waits).subspan(2));
        held_.dropLate(std::chrono::steady_clock::now());
        if (waits[0].revents != 0) acceptWaiting();
        held_.handOver([this](HeldConnections::Held& held) {
            return pool_->tryTake(held.connection, held.address, held.request.name());
        });
    }
    held_.clear();
}

void CServerThread::acceptWaiting() {
    for (int accepted = 0; accepted < kAcceptBurst; ++accepted) {
        Socket connection = acceptConnection(listening_);
        if (!connection.valid()) {
            // Out of descriptors: the oldest connection held makes room for the new one.
            if ((errno == EMFILE || errno == ENFILE) && held_.dropOldest()) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != ECONNABORTED)
                std::this_thread::sleep_for(kAcceptRetryPause);
            return;
        }
        const std::uint32_t address = peerAddress(connection);
        held_.add(std::move(connection), address,
                  std::chrono::steady_clock::now() + settings_.requestTimeout);
    }
}

void CServerThread::answerRequest(Socket& connection, const std::string& name) const {
    const ServedFile file(name);
    if (!file.valid()) return;  // no reply
    TakeMeter meter(limits_.leastTaken);
    if (sendAll(connection.fd(), encodeReplyLength(file.size()), meter) &&
        sendFileContents(connection.fd(), file.fd(), meter)) {
        finishReply(connection.fd(), limits_.drainBytes, limits_.drainTime);
    } else {
        resetOnClose(connection);  // frees what the reply still held at once
    }
}

}  // namespace tl
