#pragma once

#include <cstdint>
#include <string>

#include "MarketStore.h"

// What both kinds of storage decide alike: which names and values are accepted, and how a text
// is looked for.
namespace tl::market {

// The clubs a new marketplace starts with.
extern const char* const kSeedClubs[6];

std::int64_t unixNow();

// "Selling", "Buying", or "" for both.
const char* kindName(KindFilter kinds);

// A LIKE pattern (escape character "\") that finds text anywhere, with the pattern characters of
// text taken literally.
std::string containsPattern(const std::string& text);

// A member's name also names files on the members' machines and travels in query texts that
// the client cleans, so it holds no "&", "#", folder separator or "..".
bool validUserName(const std::string& name);

// The member with every text in its stored form.
Member storedMember(const Member& member);

}  // namespace tl::market
