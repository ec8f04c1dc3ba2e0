#include "core/search/ResultRecord.h"

#include <iterator>

#include "core/listings/CProductXml.h"
#include "core/listings/ListingPaths.h"
#include "core/service/MarketContract.h"

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

namespace {

// The fields a record is read for, by element name. A record is walked once, the first child
// of each name giving the field, rather than searched once per field.
struct FieldName {
    const char* name;
    std::string ResultRecord::*field;
};
constexpr FieldName kFields[] = {
    {"productid", &ResultRecord::productid},
    {"titlebar", &ResultRecord::titlebar},
    {"username", &ResultRecord::username},
    {"ipaddress", &ResultRecord::ipaddress},
    {"connection", &ResultRecord::connection},
    {"filesize", &ResultRecord::filesize},
    {"status", &ResultRecord::status},
    {"price", &ResultRecord::price},
    {"email", &ResultRecord::email},
    {contract::key::kFilesKept, &ResultRecord::fileskept},
};

}  // namespace

std::optional<ResultRecord> readResultRecord(const XmlNode& record) {
    ResultRecord r;
    bool read[std::size(kFields)] = {};
    for (XmlNode child = record.firstChildElement(); child; child = child.nextSiblingElement()) {
        const std::string_view name = child.raw().name();
        for (std::size_t i = 0; i < std::size(kFields); ++i)
            if (!read[i] && name == kFields[i].name) {
                r.*kFields[i].field = child.text();
                read[i] = true;
                break;
            }
    }
    if (!isProductId(r.productid)) return std::nullopt;
    if (!isDottedIpv4(r.ipaddress)) r.ipaddress.clear();
    return r;
}

std::string PriceText(const std::string& price) {
    if (price == kMakeOfferPrice) return kMakeOffer;
    if (price == kFreePrice) return kFree;
    return price;
}

}  // namespace tl
