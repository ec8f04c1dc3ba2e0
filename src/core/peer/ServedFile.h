#pragma once

#include <cstdint>
#include <string>

namespace tl {

// A file of the products folder opened for serving, closed with the object. Only a regular file
// whose real path lies inside the products folder is opened (a symbolic link may lead within
// the folder, never out of it), and only when its length fits the reply's 4 bytes. Of the
// documents at the top of the folder only listings ("<product id>.xml") are served.
class ServedFile {
public:
    // name: a requested name already known to stay inside the folder by its steps.
    explicit ServedFile(const std::string& name);
    ~ServedFile();
    ServedFile(const ServedFile&) = delete;
    ServedFile& operator=(const ServedFile&) = delete;

    bool valid() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    std::uint64_t size() const { return size_; }

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

}  // namespace tl
