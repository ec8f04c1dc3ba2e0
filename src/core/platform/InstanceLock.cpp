#include "core/platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "core/platform/Files.h"

namespace tl {

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

InstanceLock::Result InstanceLock::acquire(const std::string& directory) {
    if (fd_ >= 0) return Result::Acquired;
    if (!createDirectories(directory) || ::access(directory.c_str(), W_OK | X_OK) != 0)
        return Result::DirectoryUnusable;
    const std::string path = directory + (directory.ends_with('/') ? "" : "/") + ".instance.lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return Result::DirectoryUnusable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? Result::HeldElsewhere : Result::DirectoryUnusable;
    }
    fd_ = fd;
    return Result::Acquired;
}

}  // namespace tl
