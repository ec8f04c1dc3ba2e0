#pragma once

#include <cstdint>
#include <string>

#include "MarketStore.h"

// What the parts of the PostgreSQL store write into their statements alike.
namespace tl::market {

// Listings are numbered into blocks of this many, newest block last. The trigram index keys each
// listing by its block as well, so a search can ask it for one block, and the index reads only
// that block's share of each trigram's listings.
#define TL_BLOCK_LISTINGS 131072
#define TL_QUOTED(X) #X
#define TL_NUMBER_TEXT(X) TL_QUOTED(X)
#define TL_BLOCK "(productid / " TL_NUMBER_TEXT(TL_BLOCK_LISTINGS) ")"
inline constexpr std::int64_t kBlockListings = TL_BLOCK_LISTINGS;

// Times come from the database's clock, which every server process shares.
#define TL_NOW "CAST(extract(epoch FROM now()) AS BIGINT)"

inline const std::string kOnlineCutoff = TL_NOW " - " + std::to_string(MarketStore::kOnlineSeconds);

inline const std::string kResultLimit = " LIMIT " + std::to_string(MarketStore::kMaxResults);

// The columns of a list record, in ListingRecord order.
std::string recordSelect(const char* priceColumn = "l.price");

}  // namespace tl::market
