#include "core/search/MyListings.h"

#include "core/service/Endpoints.h"

namespace tl {

MyListingsQuery::MyListingsQuery(const std::string& user)
    : ResultQuery(endpoints::myListings(user), Credentials::Service) {}

const char* filesKeptText(const std::string& fileskept) {
    if (fileskept == "1") return "Kept";
    if (fileskept == "0") return "Not kept";
    return "";
}

}  // namespace tl
