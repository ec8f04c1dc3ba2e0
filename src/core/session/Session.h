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
    std::string webAddress;      // what the web pane shows next
    std::string cardFileName;    // the member's business-card file in the products folder
    std::string connectionType;  // the member's own connection type, from the user document
};

Session& session();

}  // namespace tl
