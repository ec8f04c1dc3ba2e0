#include "core/peer/HeldConnections.h"

#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <deque>
#include <map>

#include "core/platform/ProgramDirectory.h"

namespace tl {

void HeldConnections::add(Socket connection, std::uint32_t address, SteadyTime deadline) {
    const auto fromAddress = static_cast<std::size_t>(std::count_if(
        held_.begin(), held_.end(), [&](const Held& held) { return held.address == address; }));
    if (fromAddress >= mostPerAddress_)
        held_.erase(oldest(address));
    else if (held_.size() >= most_)
        held_.erase(oldest(std::nullopt));
    held_.push_back(Held{std::move(connection), address, deadline, FileRequestDecoder()});
}

bool HeldConnections::dropOldest() {
    if (held_.empty()) return false;
    held_.pop_front();
    return true;
}

std::list<HeldConnections::Held>::iterator HeldConnections::oldest(
    std::optional<std::uint32_t> address) {
    return std::find_if(held_.begin(), held_.end(),
                        [&](const Held& held) { return !address || held.address == *address; });
}

void HeldConnections::addWaits(std::vector<pollfd>& waits) const {
    for (const Held& held : held_)
        if (held.request.wanted() > 0) waits.push_back({held.connection.fd(), POLLIN, 0});
}

void HeldConnections::readReady(std::span<const pollfd> waits) {
    auto wait = waits.begin();
    for (auto held = held_.begin(); held != held_.end() && wait != waits.end();) {
        if (held->request.wanted() == 0) {
            ++held;
            continue;
        }
        const bool ready = (wait++)->revents != 0;
        if (ready) {
            std::array<char, kLargestRequestLength + 4> piece;
            const ssize_t got =
                ::recv(held->connection.fd(), piece.data(),
                       std::min(piece.size(), held->request.wanted()), MSG_DONTWAIT);
            if (got > 0) held->request.take(std::string_view(piece.data(), got));
            const bool gone = got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR);
            // A name that would leave the products folder is answered like a missing file.
            const bool unsafe =
                held->request.complete() && !isSafeRelativeName(held->request.name());
            if (gone || held->request.refused() || unsafe) {
                held = held_.erase(held);
                continue;
            }
        }
        ++held;
    }
}

void HeldConnections::dropLate(SteadyTime now) {
    std::erase_if(
        held_, [&](const Held& held) { return held.request.wanted() > 0 && held.deadline <= now; });
}

std::optional<SteadyTime> HeldConnections::nextDeadline() const {
    std::optional<SteadyTime> next;
    for (const Held& held : held_)
        if (held.request.wanted() > 0 && (!next || held.deadline < *next)) next = held.deadline;
    return next;
}

void HeldConnections::handOver(const std::function<bool(Held&)>& take) {
    std::map<std::uint32_t, std::deque<std::list<Held>::iterator>> waiting;
    for (auto held = held_.begin(); held != held_.end(); ++held)
        if (held->request.complete()) waiting[held->address].push_back(held);
    // Rounds of one request per address, from the address after the last one served.
    while (!waiting.empty()) {
        auto turn = waiting.upper_bound(lastTurn_);
        bool tookAny = false;
        for (std::size_t left = waiting.size(); left > 0; --left) {
            if (turn == waiting.end()) turn = waiting.begin();
            auto& [address, requests] = *turn;
            if (take(*requests.front())) {
                held_.erase(requests.front());
                requests.pop_front();
                lastTurn_ = address;
                tookAny = true;
            } else {
                requests.clear();
            }
            turn = requests.empty() ? waiting.erase(turn) : std::next(turn);
        }
        if (!tookAny) return;
    }
}

}  // namespace tl
