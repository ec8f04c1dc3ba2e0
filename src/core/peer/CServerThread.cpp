#include "core/peer/CServerThread.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <initializer_list>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "core/peer/OutgoingReply.h"
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
// The longest a worker waits for a requester to take more of its reply before handing the
// reply to the serving thread's poll.
constexpr std::chrono::milliseconds kWorkerPatience{100};
// The kernel's send buffer of a reply's connection (which the kernel doubles): enough for a fast
// reader, small enough that a slow one holds little and is judged by what it took.
constexpr int kSendBuffer = 256 * 1024;

std::optional<SteadyTime> earliest(std::initializer_list<std::optional<SteadyTime>> times) {
    std::optional<SteadyTime> first;
    for (const std::optional<SteadyTime>& time : times)
        if (time && (!first || *time < *first)) first = time;
    return first;
}

int pollTimeout(std::optional<SteadyTime> deadline) {
    if (!deadline) return -1;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, 1 << 30));
}

}  // namespace

CServerThread::CServerThread(Settings settings, ListingServerLimits limits)
    : settings_(std::move(settings)),
      limits_(limits),
      held_(limits.held, limits.heldPerAddress),
      closing_(limits.closing, limits.drainBytes, limits.drainTime),
      slow_(limits.slowReplies, limits.slowRepliesPerAddress, closing_) {}

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
        [this](Socket& connection, std::uint32_t address, const std::string& name) {
            answerRequest(connection, address, name);
        },
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
    pool_.reset();  // cuts off the connections in service
    slow_.clear();
    closing_.clear();
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
        const std::size_t slowFrom = waits.size();
        slow_.addWaits(waits);
        const std::size_t closingFrom = waits.size();
        closing_.addWaits(waits);
        const std::optional<SteadyTime> due =
            earliest({held_.nextDeadline(), slow_.nextDeadline(), closing_.nextDeadline()});
        if (::poll(waits.data(), waits.size(), pollTimeout(due)) < 0) {
            if (errno != EINTR) std::this_thread::sleep_for(kAcceptRetryPause);
            continue;
        }
        if (waits[1].revents != 0) {
            char wakes[64];
            while (::read(wakePipe_[0], wakes, sizeof wakes) > 0) {
            }
        }
        if (stopping_) break;
        const std::span<const pollfd> ready(waits);
        const SteadyTime now = std::chrono::steady_clock::now();
        held_.readReady(ready.subspan(2, slowFrom - 2));
        held_.dropLate(now);
        slow_.sendReady(ready.subspan(slowFrom, closingFrom - slowFrom), now);
        closing_.readReady(ready.subspan(closingFrom), now);
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
            // Out of descriptors: the oldest connection closing, else the oldest held, makes
            // room for the new one.
            if ((errno == EMFILE || errno == ENFILE) &&
                (closing_.closeOldest() || held_.dropOldest()))
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != ECONNABORTED)
                std::this_thread::sleep_for(kAcceptRetryPause);
            return;
        }
        const std::uint32_t address = peerAddress(connection);
        held_.add(std::move(connection), address,
                  std::chrono::steady_clock::now() + settings_.requestTimeout);
    }
}

void CServerThread::answerRequest(Socket& connection, std::uint32_t address,
                                  const std::string& name) {
    auto file = std::make_unique<ServedFile>(name);
    if (!file->valid()) return;  // no reply
    limitSendBuffer(connection.fd(), kSendBuffer);
    auto reply = std::make_unique<OutgoingReply>(std::move(connection), address, std::move(file),
                                                 limits_.leastTaken);
    for (;;) {
        const OutgoingReply::Progress progress = reply->sendWhatFits();
        if (progress == OutgoingReply::Progress::Done) {
            closing_.add(std::move(reply->connection()));
            wake();
            return;
        }
        if (progress == OutgoingReply::Progress::Failed ||
            !reply->keepingUp(std::chrono::steady_clock::now())) {
            resetOnClose(reply->connection());  // frees what the reply still held at once
            return;
        }
        if (waitReady(reply->connection().fd(), POLLOUT, kWorkerPatience)) continue;
        if (slow_.tryTake(reply)) {
            wake();
            return;
        }
    }
}

}  // namespace tl
