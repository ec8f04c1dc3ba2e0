#pragma once

#include <string>

#include "core/search/ResultQuery.h"
#include "core/service/Endpoints.h"

namespace tl {

// The quick search: listings whose text holds the criteria, of the kind "SELLING", "BUYING"
// or "BOTH".
class QuickSearchQuery : public ResultQuery {
public:
    QuickSearchQuery(const std::string& criteria, const std::string& status);
    using ResultQuery::GetConnection;
    using ResultQuery::GetEmail;
    using ResultQuery::GetFilesize;
    using ResultQuery::GetIpaddress;
    using ResultQuery::GetPrice;
    using ResultQuery::GetProductid;
    using ResultQuery::GetStatus;
    using ResultQuery::GetTitlebar;
    using ResultQuery::GetUsername;
};

class AdvancedSearchQuery : public ResultQuery {
public:
    explicit AdvancedSearchQuery(const endpoints::AdvancedCriteria& criteria);
    using ResultQuery::GetConnection;
    using ResultQuery::GetFilesize;
    using ResultQuery::GetIpaddress;
    using ResultQuery::GetPrice;
    using ResultQuery::GetProductid;
    using ResultQuery::GetStatus;
    using ResultQuery::GetTitlebar;
    using ResultQuery::GetUsername;
};

// The member's favourites.
class FavoritesQuery : public ResultQuery {
public:
    explicit FavoritesQuery(const std::string& user);
    using ResultQuery::GetConnection;
    using ResultQuery::GetFilesize;
    using ResultQuery::GetIpaddress;
    using ResultQuery::GetPrice;
    using ResultQuery::GetProductid;
    using ResultQuery::GetStatus;
    using ResultQuery::GetTitlebar;
    using ResultQuery::GetUsername;
};

// The items sold to the member; the username field is the seller's.
class BoughtQuery : public ResultQuery {
public:
    explicit BoughtQuery(const std::string& user);
    using ResultQuery::GetConnection;
    using ResultQuery::GetFilesize;
    using ResultQuery::GetIpaddress;
    using ResultQuery::GetPrice;
    using ResultQuery::GetProductid;
    using ResultQuery::GetTitlebar;
    using ResultQuery::GetUsername;
};

}  // namespace tl
