#pragma once

#include <string>
#include <vector>

#include "MarketStore.h"

// The XML replies of the marketplace services.
namespace tl::market {

// The order is the order of the field table in MarketReplies.cpp.
enum class RecordField {
    productid,
    titlebar,
    username,
    ipaddress,
    connection,
    filesize,
    email,
    price,
    status,
    fileskept
};

// A results document: one "product" record per listing, holding the given fields in order.
std::string resultsDocument(const std::vector<ListingRecord>& records,
                            const std::vector<RecordField>& fields);

// The kept files of a listing: a results document with one "product" per file (name, size,
// sha256); "<results/>" for none.
std::string keptFilesDocument(const std::vector<KeptFile>& files);

// The web-service form: the payload (an XML fragment) as the escaped text of a "string" element
// in the namespace "http://" + host + "/".
std::string wrappedReply(const std::string& host, const std::string& payload);

// The payload of GetItem: the listing as a "Product" document; empty for no listing.
std::string itemPayload(const Listing& listing);
// The payload of ListClubs: the count, then one "Club" per name.
std::string clubsPayload(const std::vector<std::string>& clubs);

// The offline-item document: item number, title, description and the owner's contact.
std::string offlineItemDocument(const Listing& listing, const Member& owner);

}  // namespace tl::market
