#include "core/listings/FileScramble.h"

namespace tl {
namespace {
constexpr unsigned kScrambleKey = 0x3e91d257;
constexpr char kScrambleByte = static_cast<char>(kScrambleKey & 0xFF);
}  // namespace

void scrambleBytes(std::string& bytes) {
    for (char& c : bytes) c ^= kScrambleByte;
}

}  // namespace tl
