#pragma once

#include <string>

#include "core/platform/NonCopyable.h"

namespace tl {

// Keeps a second copy of the program on the same program directory from running: the first
// copy holds an exclusive lock on a file in the directory until it ends.
class InstanceLock : NonCopyable {
public:
    InstanceLock() = default;
    ~InstanceLock();

    enum class Result {
        Acquired,          // this process now holds the lock of the directory
        HeldElsewhere,     // another copy of the program runs on the directory
        DirectoryUnusable  // the directory cannot be created or written
    };
    // Takes the lock of the directory, creating the directory when missing.
    Result acquire(const std::string& directory);

private:
    int fd_ = -1;
};

}  // namespace tl
