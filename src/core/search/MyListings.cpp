#include "core/search/MyListings.h"

#include "core/service/Endpoints.h"

namespace tl {

MyListingsQuery::MyListingsQuery(const std::string& user)
    : ResultQuery(endpoints::myListings(user), Credentials::Service) {}

}  // namespace tl
