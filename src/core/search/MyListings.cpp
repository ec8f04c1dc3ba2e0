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

const char* kindText(MyListingKind kind) {
    switch (kind) {
        case MyListingKind::Buying:
            return "buying";
        case MyListingKind::Selling:
            return "selling";
        case MyListingKind::Sold:
            return "sold";
        case MyListingKind::Bought:
            return "bought";
        case MyListingKind::Inactive:
            return "inactive";
    }
    return "";
}

std::optional<MyListingKind> ownListingKind(const std::string& status) {
    if (status == "Buying") return MyListingKind::Buying;
    if (status == "Selling") return MyListingKind::Selling;
    if (status == "SOLD" || status == "Sold") return MyListingKind::Sold;
    if (status == "INACTIVE") return MyListingKind::Inactive;
    return std::nullopt;
}

}  // namespace tl
