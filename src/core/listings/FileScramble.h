#pragma once

#include <string>

namespace tl {

// Scrambles a plain file, or restores a scrambled one, in place: every byte is XORed with the
// low byte of the key 0x3e91d257. The result is written to a unique scratch file in the file's
// own folder and renamed over it, so the file is never missing or half written.
// Returns 1 when the file was processed, 0 when it could not be opened (nothing is created).
int ToggleFileScramble(const std::string& path);

// The same transformation on bytes in memory.
void scrambleBytes(std::string& bytes);

}  // namespace tl
