#pragma once

#include <string>

namespace tl {

// The program directory and its fixed folders. Every path returned ends with '/'.
// The directory is $TRADELOOM_HOME, else $XDG_DATA_HOME/tradeloom, else ~/.local/share/tradeloom,
// always as an absolute path (a relative setting is taken from the working directory).
std::string programDirectory();
std::string productsDirectory();      // program directory + "products/"
std::string productsTempDirectory();  // program directory + "products/temp/"
std::string downloadsDirectory();     // program directory + "downloads/"
std::string usersDirectory();         // program directory + "users/"
std::string draftsDirectory();        // program directory + "drafts/"

// Tests and embedders point the program at another directory (a trailing '/' is added).
void setProgramDirectory(const std::string& path);

// Joins a stored or requested name to a folder: a backslash in the name is a folder separator.
std::string joinStoredName(const std::string& folder, const std::string& name);

// folder + name when a name from outside is a plain file name that stays directly inside the
// folder (a safe relative name without any folder separator); empty otherwise.
std::string plainFileIn(const std::string& folder, const std::string& name);

// True when a name from outside stays inside the folder it is joined to: not empty, not absolute,
// no drive letter, no "." or ".." step, no NUL byte. Backslashes count as separators.
bool isSafeRelativeName(const std::string& name);

}  // namespace tl
