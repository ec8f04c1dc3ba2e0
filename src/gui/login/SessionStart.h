#pragma once

namespace tl {

// What the building of the main window does before it is first shown: refresh the reference
// lists, then run the login dialog modally. Escape leaves nobody logged in.
void runSessionStart();

}  // namespace tl
