#pragma once

#include <string>

namespace tl {

// True when a user name can travel in requests and name the member's user document: it holds
// none of "&" and "#" (the query-text cleaner would change them), "/" and "\" (folder
// separators) or "..", and its document stays directly inside the users folder.
bool isCarriableUserName(const std::string& name);

// users/<name>.xml in the program directory, or empty when the name would leave that folder.
std::string userDocumentPath(const std::string& name);

}  // namespace tl
