#pragma once

#include <string>

namespace tl {

// The process-wide values of the logged-in member. They are written on the user-interface
// thread only; worker threads are handed their own copies.
struct Session {
    std::string currentUserName;
    std::string currentPassword;
    std::string wordListFileName;
    std::string categoryFileName;
    std::string webAddress;  // what the web pane shows next
};

Session& session();

}  // namespace tl
