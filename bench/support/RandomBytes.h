#pragma once

#include <cstddef>
#include <random>
#include <string>

namespace tl::bench {

// size bytes that do not compress, the same for the same seed.
inline std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(generator());
    return bytes;
}

}  // namespace tl::bench
