#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "MarketStore.h"

// What both kinds of storage decide alike: which names and values are accepted, and how a text
// is looked for.
namespace tl::market {

// The clubs a new marketplace starts with.
extern const char* const kSeedClubs[6];

std::int64_t unixNow();

// The kind as stored, or "" for both.
const char* kindName(KindFilter kinds);

// A LIKE pattern (escape character "\") that finds text anywhere, with the pattern characters of
// text taken literally.
std::string containsPattern(const std::string& text);

// A member's name also names files on the members' machines and travels in query texts that
// the client cleans, so it holds no "&", "#", folder separator or "..".
bool validUserName(const std::string& name);

// The member with every text in its stored form.
Member storedMember(const Member& member);

// A word of the listing contract as an SQL text literal (the words hold no quote).
std::string sqlWord(const char* word);

// The earliest "last seen" time of a member who still counts as online.
std::int64_t onlineCutoff();

// A new or edited listing with every text in its stored form, the price trimmed and the kind
// spelt as stored, and its price as a number.
struct AcceptedListing {
    Listing listing;
    double priceValue = 0;
};
// Nothing when the listing has no title, no price that is a number, or no kind.
std::optional<AcceptedListing> acceptedListing(const Listing& listing);

}  // namespace tl::market
