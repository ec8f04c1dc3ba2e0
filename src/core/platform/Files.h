#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/NonCopyable.h"

namespace tl {

// A file replaced through a temporary name: the bytes go to a unique temporary file beside the
// target (".<name>.part.XXXXXX"), which commit() syncs, renames over the target and follows with
// a sync of the folder. No reader ever sees the file half written or missing, a failure at any
// step leaves the old file as it was, and a power cut after commit() leaves the new file whole.
// The temporary goes with the object when it was not committed.
class AtomicFileWriter : NonCopyable {
public:
    explicit AtomicFileWriter(const std::string& target);
    ~AtomicFileWriter();

    // False when the temporary file could not be made (the folder is missing or not writable).
    bool valid() const { return fd_ >= 0; }
    bool write(std::string_view bytes);
    // True once the target holds everything written; the object is spent either way.
    bool commit();

private:
    void discard();

    std::string target_;
    std::vector<char> temporary_;
    int fd_ = -1;
};

// Replaces the file at path with bytes through an AtomicFileWriter. Returns false (and leaves
// the old file as it was) when the file could not be written whole.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// True for a file name of the form AtomicFileWriter gives its temporary files.
bool isWriterTemporaryName(std::string_view fileName);

// The whole file, or nothing when it cannot be opened.
std::optional<std::string> readWholeFile(const std::string& path);

bool fileExists(const std::string& path);

// Creates the folder and its parents; an existing folder is no error.
bool createDirectories(const std::string& path);

}  // namespace tl
