#pragma once

#include <optional>

#include "MarketStore.h"
#include "RouteSupport.h"

namespace tl::market {

// The pages of the files the marketplace keeps of a listing: its owner sends them one by one
// and then names the complete set; anyone may ask for the digests of a kept listing's files
// and for their bytes.
class FileRoutes {
public:
    explicit FileRoutes(MarketStore& store) : store_(store) {}
    // Every page but the upload, which the server serves apart (it reads its own body).
    void addTo(RouteTable& routes);

    // The upload: refuses what the query and headers tell before it reads the body, then reads
    // at most the announced size.
    void putListingFile(const Request& req, Response& res, const httplib::ContentReader& body);

private:
    // The listing the request names, when it comes from where its owner is online.
    std::optional<Listing> ownedListing(const Request& req);

    void keepListingFiles(const Request& req, Response& res);
    void listingFiles(const Request& req, Response& res);
    void getListingFile(const Request& req, Response& res);

    MarketStore& store_;
};

}  // namespace tl::market
