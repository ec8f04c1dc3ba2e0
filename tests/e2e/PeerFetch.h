#pragma once

#include <optional>
#include <string>

namespace tl::test {

// What a plain socket client gets for one file over the transfer protocol: the contents after
// the 4-byte length, or nothing when the server closed without a reply.
std::optional<std::string> fetchOverPeerProtocol(int port, const std::string& name);

}  // namespace tl::test
