#pragma once

namespace tl {

// Brings the word list and the category list up to date before the login: asks the server for
// the current file name of each and downloads the file only when no local file of that name
// exists; a list is written only when it reads as XML. Stores both names in the session. A failure
// shows "Exception occurred in Get XML List Update" once and stops the refresh where it was.
void refreshReferenceLists();

}  // namespace tl
