#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "core/peer/TransferProtocol.h"

namespace tl {

// A seller's listing server as the download client dials it.
struct PeerEndpoint {
    std::string address;       // dotted IPv4 or a host name
    int port = kTransferPort;  // another port in tests
    std::string localAddress;  // where the connection leaves from; empty: any
    std::chrono::milliseconds connectTimeout{4000};
};

// Bounds on one file from a seller: no receive or send waits longer than idle, the whole file
// must be in by whole (and by until, when that comes sooner), and an announced length above
// largest is refused before any byte is stored, so a seller can neither trickle for ever nor
// fill the disk. A raised stop flag ends the fetch at its next wait for the seller.
struct PeerFileLimits {
    std::chrono::milliseconds idle;
    std::chrono::milliseconds whole;
    std::uint32_t largest;
    std::optional<std::chrono::steady_clock::time_point> until = std::nullopt;
    const std::atomic<bool>* stop = nullptr;
};

enum class PeerFileResult {
    Unreachable,  // no connection within the connect timeout
    NotServed,    // the connection ended (or timed out) before the file length came
    TooLarge,     // the announced length is above the limit
    Broken,       // the connection ended, failed or timed out before the announced length came
    NotStored,    // the downloads file could not be written
    Stored,       // the announced length arrived and is in the target file
};

// Asks the seller for one file and stores exactly the announced number of bytes at target
// (bytes after them are not read). The bytes go to a temporary file in the target's folder that
// is renamed over the target only once they have all arrived: any other outcome (a stop
// included) leaves an older file as it was and no empty or partial one.
PeerFileResult fetchPeerFile(const PeerEndpoint& seller, const std::string& requestName,
                             const std::string& target, const PeerFileLimits& limits);

// The reading half of fetchPeerFile, once the request is sent: the reply from channel, stored
// at target the same way (NotServed, TooLarge, Broken, NotStored or Stored).
PeerFileResult receivePeerFile(ByteChannel& channel, const std::string& target,
                               std::uint32_t largest);

}  // namespace tl
