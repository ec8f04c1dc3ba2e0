#include "core/search/ResultQueries.h"

namespace tl {

QuickSearchQuery::QuickSearchQuery(const std::string& criteria, const std::string& status)
    : KindedListingQuery(endpoints::search(criteria, status), Credentials::Service) {}

AdvancedSearchQuery::AdvancedSearchQuery(const endpoints::AdvancedCriteria& criteria)
    : KindedListingQuery(endpoints::advancedSearch(criteria), Credentials::Service) {}

FavoritesQuery::FavoritesQuery(const std::string& user)
    : KindedListingQuery(endpoints::favorites(user), Credentials::Service) {}

// The bought-items page takes the pair 0/0 rather than the program's own.
BoughtQuery::BoughtQuery(const std::string& user)
    : PostedListingQuery(endpoints::boughtProducts(user), Credentials::Zero) {}

}  // namespace tl
