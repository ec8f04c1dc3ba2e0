// The reading of a results reply (search, favourites, bought items, own listings): the records
// and the fields each list shows.
#include "FuzzSupport.h"
#include "core/listings/ListingPaths.h"
#include "core/platform/XmlDocument.h"
#include "core/search/ResultRecord.h"
#include "core/service/Replies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tl;
    XmlDocument reply;
    if (!reply.loadXml(fuzz::text(data, size))) return 0;
    for (const XmlNode& node : resultRecords(reply)) {
        const std::optional<ResultRecord> record = readResultRecord(node);
        if (!record) continue;
        fuzz::require(isProductId(record->productid), "a record whose id names no listing");
        fuzz::require(record->ipaddress.empty() || isDottedIpv4(record->ipaddress),
                      "a record with an address that is not dotted IPv4");
        PriceText(record->price);
    }
    return 0;
}
