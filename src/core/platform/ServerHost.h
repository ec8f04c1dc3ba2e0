#pragma once

#include <string>

namespace tl {

// The marketplace server host, with ":port" when it is not 80: $TRADELOOM_SERVER, else the
// host fixed at build time.
std::string serverHost();
void setServerHost(const std::string& host);  // for tests; empty restores the default

// The local IPv4 address the listing server listens on and requests leave from:
// $TRADELOOM_BIND, or empty for every address.
std::string bindAddress();

}  // namespace tl
