#pragma once

#include <string>

namespace tl {

// The scrambling of listing documents at rest: every byte is XORed with the low byte of the key
// 0x3e91d257. The same call scrambles plain bytes and restores scrambled ones.
void scrambleBytes(std::string& bytes);

}  // namespace tl
