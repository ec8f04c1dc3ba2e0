#pragma once

namespace tl {

// A base for objects that own a resource (a socket, a thread, a folder, a process-wide setting)
// and so must be neither copied nor assigned.
class NonCopyable {
public:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;

protected:
    NonCopyable() = default;
    ~NonCopyable() = default;
};

}  // namespace tl
