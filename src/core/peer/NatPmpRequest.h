#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace tl {

enum class NatPmpResult { Granted, Refused, NoAnswer };

struct NatPmpAnswer {
    NatPmpResult result = NatPmpResult::NoAnswer;
    std::chrono::seconds lifetime{0};  // how long the gateway keeps a granted mapping
};

// Where NAT-PMP requests go: the gateway's dotted IPv4 address (empty: this machine's default
// gateway; the gateway always listens on UDP port 5351), and the longest wait for its answer,
// over which the request is sent again a few times.
struct NatPmpGateway {
    std::string address;
    std::chrono::milliseconds wait{2000};
};

// Asks the gateway to forward TCP port to the same port of this machine for lifetime; a
// lifetime of 0 removes the mapping. A mapping granted on another public port is taken back at
// once and counts as refused, since peers always dial the same port.
NatPmpAnswer requestNatPmpMapping(const NatPmpGateway& gateway, int port,
                                  std::chrono::seconds lifetime);

// The gateway's public address in dotted form; empty when it gives none.
std::string natPmpPublicAddress(const NatPmpGateway& gateway);

}  // namespace tl
