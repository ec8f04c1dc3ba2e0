#pragma once

#include <string>

#include "core/platform/NonCopyable.h"

namespace tl::test {

// A fresh program directory under the system's temporary folder, made the program's own for
// the object's lifetime and removed afterwards.
class TempProgramDirectory : NonCopyable {
public:
    TempProgramDirectory();
    ~TempProgramDirectory();

    const std::string& path() const { return path_; }  // ends with '/'

    // Writes a file relative to the directory, creating its folders.
    void write(const std::string& relative, const std::string& bytes) const;
    std::string read(const std::string& relative) const;
    bool exists(const std::string& relative) const;

private:
    std::string path_;
};

}  // namespace tl::test
