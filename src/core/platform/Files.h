#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/NonCopyable.h"

namespace tl {

// How far a replaced file must survive a power cut.
enum class Durability {
    // Whole once committed: the member's own files and settings.
    Lasting,
    // A copy fetched from elsewhere, which the next opening fetches again: a power cut may take
    // it, but no reader ever sees it half written.
    Refetchable,
};

// A file replaced through a temporary name: the bytes go to a unique temporary file beside the
// target (".<name>.part.XXXXXX"), which commit() renames over the target. No reader ever sees
// the file half written or missing, and a failure at any step leaves the old file as it was. A
// lasting file is synced before the rename and its folder after it, so that a power cut after
// commit() leaves the new file whole. The temporary goes with the object when it was not
// committed.
class AtomicFileWriter : NonCopyable {
public:
    explicit AtomicFileWriter(const std::string& target,
                              Durability durability = Durability::Lasting);
    ~AtomicFileWriter();

    // False when the temporary file could not be made (the folder is missing or not writable).
    bool valid() const { return fd_ >= 0; }
    bool write(std::string_view bytes);
    // True once the target holds everything written; the object is spent either way.
    bool commit();

private:
    void discard();

    std::string target_;
    Durability durability_;
    std::vector<char> temporary_;
    int fd_ = -1;
};

// Replaces the file at path with bytes through an AtomicFileWriter. Returns false (and leaves
// the old file as it was) when the file could not be written whole.
bool writeFileAtomically(const std::string& path, std::string_view bytes,
                         Durability durability = Durability::Lasting);

// True for a file name of the form AtomicFileWriter gives its temporary files.
bool isWriterTemporaryName(std::string_view fileName);

// The whole file, or nothing when it cannot be opened.
std::optional<std::string> readWholeFile(const std::string& path);

bool fileExists(const std::string& path);

// Creates the folder and its parents; an existing folder is no error.
bool createDirectories(const std::string& path);

}  // namespace tl
