#pragma once

#include <atomic>
#include <chrono>
#include <optional>

namespace tl {

// Asks the marketplace server whether it can open a connection to this computer's listing port
// (it tries for up to 3 seconds). True or false as the server found; nothing when it gave no
// usable answer: a server without the page, an error, no reply within the limit, or a reply
// other than "1" or "0". Setting *abandon ends the request early. Never tells the member.
std::optional<bool> askReachable(std::chrono::milliseconds limit,
                                 const std::atomic<bool>* abandon = nullptr);

}  // namespace tl
