#pragma once
// How much memory this process holds.
#include <cstdlib>
#include <fstream>
#include <string>

namespace tl::bench {

// The resident set of this process, in MiB.
inline double residentMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

}  // namespace tl::bench
