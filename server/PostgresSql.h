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

// The trigram index comes in parts, one for the active listings of each kind and one for those
// of any other kind, so a search of one kind reads neither the other kind's entries nor its rows.
// A condition reaches a part only when it names the part's kind as the part does (TABLE: the
// column prefix, "" or "l.").
#define TL_SELLING_KIND(TABLE) TABLE "kind = 'Selling'"
#define TL_BUYING_KIND(TABLE) TABLE "kind = 'Buying'"
#define TL_OTHER_KIND(TABLE) TABLE "kind <> 'Selling' AND " TABLE "kind <> 'Buying'"

// Times come from the database's clock, which every server process shares.
#define TL_NOW "CAST(extract(epoch FROM now()) AS BIGINT)"

inline const std::string kOnlineCutoff = TL_NOW " - " + std::to_string(MarketStore::kOnlineSeconds);

inline const std::string kResultLimit = " LIMIT " + std::to_string(MarketStore::kMaxResults);

// The columns of a list record, in ListingRecord order, of the listings of a table or a
// subquery with their columns.
std::string recordSelect(const char* priceColumn = "l.price",
                         const std::string& listings = "listings");

}  // namespace tl::market
