#include "core/listings/FileScramble.h"

#include <unistd.h>

#include "core/platform/Files.h"

namespace tl {
namespace {
constexpr unsigned kScrambleKey = 0x3e91d257;
constexpr char kScrambleByte = static_cast<char>(kScrambleKey & 0xFF);
}  // namespace

void scrambleBytes(std::string& bytes) {
    for (char& c : bytes) c ^= kScrambleByte;
}

int ToggleFileScramble(const std::string& path) {
    // Like opening the file for reading and writing: it must be a regular file we may change.
    if (!fileExists(path) || ::access(path.c_str(), R_OK | W_OK) != 0) return 0;
    std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) return 0;
    scrambleBytes(*bytes);
    return writeFileAtomically(path, *bytes) ? 1 : 0;
}

}  // namespace tl
