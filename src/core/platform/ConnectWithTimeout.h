#pragma once

#include <chrono>
#include <string>

namespace tl {

// What the host to dial may be.
enum class HostForm {
    Ipv4OrName,     // a dotted IPv4 address, or a name looked up for its IPv4 address
    NumericAddress  // an IPv4 or IPv6 address in numeric form, never looked up: an address a
                    // peer came from must not make us ask a name server
};

// A TCP connection to host:port established within timeout, leaving from localAddress (a
// numeric address of the host's family) when one is given: the descriptor of the connected
// socket, in blocking mode and closed on exec, which the caller owns; -1 when the host is
// unknown, nobody accepted in time, or the local address cannot be had.
int connectWithTimeout(const std::string& host, int port, std::chrono::milliseconds timeout,
                       const std::string& localAddress = {}, HostForm form = HostForm::Ipv4OrName);

}  // namespace tl
