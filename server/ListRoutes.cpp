#include "ListRoutes.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "MarketReplies.h"
#include "MarketStore.h"
#include "ProductStyleSheet.h"
#include "ReferenceLists.h"
#include "Text.h"

namespace tl::market {
namespace {

const std::vector<RecordField> kSearchFields = {
    RecordField::productid, RecordField::titlebar,   RecordField::username,
    RecordField::ipaddress, RecordField::connection, RecordField::filesize,
    RecordField::email,     RecordField::price,      RecordField::status};
const std::vector<RecordField> kFavouriteFields = {
    RecordField::productid,  RecordField::titlebar, RecordField::username, RecordField::ipaddress,
    RecordField::connection, RecordField::status,   RecordField::price,    RecordField::filesize};
const std::vector<RecordField> kBoughtFields = {
    RecordField::productid,  RecordField::titlebar, RecordField::username, RecordField::ipaddress,
    RecordField::connection, RecordField::filesize, RecordField::price};
const std::vector<RecordField> kMyListingFields = {RecordField::productid, RecordField::titlebar,
                                                   RecordField::status,    RecordField::filesize,
                                                   RecordField::price,     RecordField::fileskept};

void results(Response& res, const std::vector<ListingRecord>& records,
             const std::vector<RecordField>& fields) {
    xml(res, resultsDocument(records, fields));
}

}  // namespace

void ListRoutes::addTo(RouteTable& routes) {
    addRoute(routes, page::kCurrentWordList, this, &ListRoutes::currentWordList);
    addRoute(routes, page::kCurrentCategoryList, this, &ListRoutes::currentCategoryList);
    addRoute(routes, page::kStyleSheet, this, &ListRoutes::styleSheet);
    addRoute(routes, page::kMyListings, this, &ListRoutes::myListings);
    addRoute(routes, page::kSearch, this, &ListRoutes::search);
    addRoute(routes, page::kAdvancedSearch, this, &ListRoutes::advancedSearch);
    addRoute(routes, page::kFavorites, this, &ListRoutes::favourites);
    addRoute(routes, page::kBoughtProducts, this, &ListRoutes::bought);
    addRoute(routes, page::kAddFavorite, this, &ListRoutes::addFavourite);
    addRoute(routes, page::kIsInFavorite, this, &ListRoutes::isInFavourite);
    addRoute(routes, page::kRemoveFavorite, this, &ListRoutes::removeFavourite);
}

bool ListRoutes::listFile(const Request& req, Response& res) {
    const std::string_view folder = page::kReferenceListFolder;
    if (req.method != "GET" || req.path.compare(0, folder.size(), folder) != 0) return false;
    const auto content = lists_.file(req.path.substr(folder.size()));
    if (!content) return false;
    xml(res, *content);
    return true;
}

void ListRoutes::currentWordList(const Request&, Response& res) {
    plain(res, lists_.currentWordListName());
}

void ListRoutes::currentCategoryList(const Request&, Response& res) {
    plain(res, contract::kCategoryListName);
}

void ListRoutes::styleSheet(const Request&, Response& res) {
    res.set_content(std::string(productStyleSheet()), "text/xsl; charset=utf-8");
}

void ListRoutes::myListings(const Request& req, Response& res) {
    const std::string member = param(req, key::kUsername);
    std::vector<ListingRecord> listings = store_.memberListings(member);
    const std::vector<std::int64_t> kept = store_.keptListings(member);
    for (ListingRecord& listing : listings)
        listing.fileskept =
            std::find(kept.begin(), kept.end(), listing.productid) != kept.end() ? 1 : 0;
    results(res, listings, kMyListingFields);
}

void ListRoutes::search(const Request& req, Response& res) {
    results(res, store_.search(param(req, key::kCriteria), kindFilter(param(req, key::kStatus))),
            kSearchFields);
}

void ListRoutes::advancedSearch(const Request& req, Response& res) {
    AdvancedCriteria c;
    readParams(
        req, {&c.titlebar, &c.description, &c.zipcode, &c.category, &c.club, &c.user},
        {key::kTitle, key::kDescription, key::kZipCode, key::kCategory, key::kClub, key::kUser});
    c.kinds = kindFilter(param(req, key::kStatus));
    const std::string price = param(req, key::kPrice);
    if (!price.empty()) {
        c.price = parsePrice(price);
        // A price that is no number matches nothing rather than everything.
        if (!c.price) return results(res, {}, kSearchFields);
    }
    c.priceGreater = param(req, key::kPriceSwitch) != "Less";
    results(res, store_.advancedSearch(c), kSearchFields);
}

void ListRoutes::favourites(const Request& req, Response& res) {
    results(res, store_.favourites(param(req, key::kUsername)), kFavouriteFields);
}

void ListRoutes::bought(const Request& req, Response& res) {
    results(res, store_.bought(param(req, key::kUsername)), kBoughtFields);
}

void ListRoutes::addFavourite(const Request& req, Response& res) {
    plain(res, store_.addFavourite(param(req, key::kUsername), productId(req)) ? "1" : "-1");
}

void ListRoutes::isInFavourite(const Request& req, Response& res) {
    plain(res, store_.isFavourite(param(req, key::kUsername), productId(req)) ? "-1" : "0");
}

void ListRoutes::removeFavourite(const Request& req, Response& res) {
    store_.removeFavourite(param(req, key::kUsername), productId(req));
    plain(res, "0");
}

}  // namespace tl::market
