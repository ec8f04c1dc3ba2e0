#pragma once

#include <optional>
#include <string>

namespace tl {

// The local listing file an address names: a file path (or file: address) containing ".xml".
// Nothing for server addresses.
std::optional<std::string> localListingPath(const std::string& address);

// The address the browser is sent to: addresses with a scheme as they are, file paths as
// file: addresses, and a bare host or host and path (the menu's "Loom Web") over http.
std::string browsableAddress(const std::string& address);

}  // namespace tl
