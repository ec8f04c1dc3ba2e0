#pragma once

#include <string>

namespace tl {

// Tells the server the member has left. 1 when sent; 0 after the "Connection Error" box.
int LogOff(const std::string& user);

}  // namespace tl
