#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

namespace soak {

// A listing server on 127.0.0.1 in a child process of its own, so that its thread count and
// memory are its own, serving the products folder of the program directory set before start.
class ServerProcess {
public:
    // Forks and starts the server; port() is 0 when it did not start.
    ServerProcess();
    ~ServerProcess();  // stops the server and waits for its process
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int port() const { return port_; }
    pid_t pid() const { return pid_; }
    // A field of /proc/PID/status of the server, such as "VmRSS" or "Threads", as its first
    // number; -1 when it cannot be read.
    long statusField(const std::string& field) const;

private:
    pid_t pid_ = -1;
    int port_ = 0;
    int stopPipe_ = -1;
};

// Fetches a file from the server on 127.0.0.1:port, leaving from localAddress when one is given
// and waiting at most wait for each step; true when the whole reply came and equals expected.
bool fetchWhole(int port, const std::string& name, const std::string& expected,
                const std::string& localAddress = "",
                std::chrono::milliseconds wait = std::chrono::milliseconds(10000));

// size bytes of a pattern of its own for each seed.
std::string patterned(std::size_t size, int seed);

}  // namespace soak
