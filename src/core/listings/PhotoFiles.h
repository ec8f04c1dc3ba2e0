#pragma once

#include <optional>
#include <string>

namespace tl {

// The photos a member attaches to a listing are copied next to it in the products folder, in
// blocks of 4096 bytes, and named there by their file name alone.

// The last component of a path; "/" and "\" both end a folder (a backslash inside a stored
// name is a folder separator for the members who ask for it).
std::string photoFileName(const std::string& path);

// True when the file can be opened for reading and is no folder.
bool isReadablePhoto(const std::string& path);

// Copies source to target block by block; the number of bytes copied, or nothing when the
// source cannot be read or the target cannot be written (a partly written target is removed).
// A source that is the target itself is left as it is and counts as copied.
std::optional<long long> copyPhoto(const std::string& source, const std::string& target);

// The messages a photo that cannot be read, or cannot be copied, stops a listing with.
inline constexpr const char* kPhotoCaption = "Attach Photos";
std::string photoNotReadText(const std::string& path);
std::string photoNotCopiedText(const std::string& path);
std::string photoNameTakenText(const std::string& name);

}  // namespace tl
