#pragma once

#include <chrono>
#include <thread>

namespace tl::test {

// Polls the predicate until it holds or the time is up, calling betweenPolls after each failed
// look; whether it came true. The predicate is asked once more at the deadline, so a state that
// arrives during the last pause still counts.
template <class Predicate, class BetweenPolls>
bool waitFor(Predicate&& done, std::chrono::milliseconds timeout, BetweenPolls&& betweenPolls) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return done();
        betweenPolls();
    }
    return true;
}

// Polls the predicate every step (a few milliseconds by default) until it holds or the time is
// up; whether it came true.
template <class Predicate>
bool waitFor(Predicate&& done, std::chrono::milliseconds timeout,
             std::chrono::milliseconds step = std::chrono::milliseconds(5)) {
    return waitFor(done, timeout, [step] { std::this_thread::sleep_for(step); });
}

}  // namespace tl::test
