#pragma once

#include <string>

#include "core/search/ResultQuery.h"
#include "core/service/Endpoints.h"

namespace tl {

// What every list of listings carries about a listing and its poster.
class PostedListingQuery : public ResultQuery {
public:
    using ResultQuery::GetConnection;
    using ResultQuery::GetFilesize;
    using ResultQuery::GetIpaddress;
    using ResultQuery::GetPrice;
    using ResultQuery::GetProductid;
    using ResultQuery::GetTitlebar;
    using ResultQuery::GetUsername;

protected:
    using ResultQuery::ResultQuery;
};

// Lists that also say whether each listing is for sale or wanted.
class KindedListingQuery : public PostedListingQuery {
public:
    using ResultQuery::GetStatus;

protected:
    using PostedListingQuery::PostedListingQuery;
};

// The quick search: listings whose text holds the criteria, of the kind "SELLING", "BUYING"
// or "BOTH".
class QuickSearchQuery : public KindedListingQuery {
public:
    QuickSearchQuery(const std::string& criteria, const std::string& status);
    using ResultQuery::GetEmail;
};

class AdvancedSearchQuery : public KindedListingQuery {
public:
    explicit AdvancedSearchQuery(const endpoints::AdvancedCriteria& criteria);
};

// The member's favourites.
class FavoritesQuery : public KindedListingQuery {
public:
    explicit FavoritesQuery(const std::string& user);
};

// The items sold to the member; the username field is the seller's.
class BoughtQuery : public PostedListingQuery {
public:
    explicit BoughtQuery(const std::string& user);
};

}  // namespace tl
