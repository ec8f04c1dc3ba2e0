#include "core/account/UserNames.h"

#include "core/platform/ProgramDirectory.h"

namespace tl {

bool isCarriableUserName(const std::string& name) {
    if (name.find_first_of("&#/\\") != std::string::npos) return false;
    if (name.find("..") != std::string::npos) return false;
    return !userDocumentPath(name).empty();
}

std::string userDocumentPath(const std::string& name) {
    if (name.empty()) return {};
    return plainFileIn(usersDirectory(), name + ".xml");
}

}  // namespace tl
