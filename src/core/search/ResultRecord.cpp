#include "core/search/ResultRecord.h"

#include "core/listings/CProductXml.h"
#include "core/listings/ListingPaths.h"
#include "core/service/MarketContract.h"
#include "core/service/Replies.h"

namespace tl {
namespace {

bool isOctet(std::string_view part) {
    if (part.empty() || part.size() > 3 || (part.size() > 1 && part[0] == '0')) return false;
    int value = 0;
    for (char c : part) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value <= 255;
}

}  // namespace

bool isDottedIpv4(std::string_view text) {
    for (int part = 0; part < 4; ++part) {
        const std::size_t point = text.find('.');
        const bool last = part == 3;
        if (last != (point == std::string_view::npos)) return false;
        if (!isOctet(text.substr(0, point))) return false;
        text.remove_prefix(last ? text.size() : point + 1);
    }
    return true;
}

std::optional<ResultRecord> readResultRecord(const XmlNode& record) {
    ResultRecord r;
    r.productid = recordField(record, "productid");
    if (!isProductId(r.productid)) return std::nullopt;
    r.titlebar = recordField(record, "titlebar");
    r.username = recordField(record, "username");
    r.ipaddress = recordField(record, "ipaddress");
    if (!isDottedIpv4(r.ipaddress)) r.ipaddress.clear();
    r.connection = recordField(record, "connection");
    r.filesize = recordField(record, "filesize");
    r.status = recordField(record, "status");
    r.price = recordField(record, "price");
    r.email = recordField(record, "email");
    r.fileskept = recordField(record, contract::key::kFilesKept);
    return r;
}

std::string PriceText(const std::string& price) {
    if (price == kMakeOfferPrice) return kMakeOffer;
    if (price == kFreePrice) return kFree;
    return price;
}

}  // namespace tl
