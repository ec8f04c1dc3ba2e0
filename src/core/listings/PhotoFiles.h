#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tl {

// The photos a member attaches to a listing are copied next to it in the products folder, in
// blocks of 4096 bytes, and named there by their file name alone.

// The last component of a path; "/" and "\" both end a folder (a backslash inside a stored
// name is a folder separator for the members who ask for it).
std::string photoFileName(const std::string& path);

// True when the file can be opened for reading and is no folder.
bool isReadablePhoto(const std::string& path);

// Copies source to target block by block through a temporary file; the number of bytes copied,
// or nothing when the source cannot be read or the target cannot be written (an older target
// is then left as it was). A source that is the target itself stays whole and counts as copied.
std::optional<long long> copyPhoto(const std::string& source, const std::string& target);

// The largest file a listing can carry: other members are sent each file's length in 32 bits.
inline constexpr std::uintmax_t kLargestPhotoBytes = 0xFFFFFFFFu;
// False when the file is too large to be attached; a file whose size cannot be read is judged
// when it is read.
bool photoSizeAllowed(const std::string& path);

// The messages a photo that cannot be read, or cannot be copied, stops a listing with.
inline constexpr const char* kPhotoCaption = "Attach Photos";
std::string photoNotReadText(const std::string& path);
std::string photoNotCopiedText(const std::string& path);
std::string photoNameTakenText(const std::string& name);
std::string photoTooLargeText(const std::string& path);

// Names to the member the first photo that cannot be attached: one that cannot be read, one too
// large, one whose file name another photo has already or, when storedFolder is given, a file in
// that folder has (a stored attachment would be overwritten). True when every photo can be
// stored.
bool photosUsable(const std::vector<std::string>& photos, const std::string& storedFolder = {});

// Copies each photo into products/<folder>/ and, once its file is in place, adds the entry
// "<folder>/<name>" through addEntry; the bytes copied, or nothing after naming the photo that
// could not be copied (the copies made before it stay).
using AddEntry = std::function<int(const std::string& entry)>;
std::optional<long long> copyPhotosInto(const std::vector<std::string>& photos,
                                        const std::string& folder, const AddEntry& addEntry);
// Removes what copyPhotosInto made of photos in products/<folder>/.
void removePhotoCopies(const std::vector<std::string>& photos, const std::string& folder);

}  // namespace tl
