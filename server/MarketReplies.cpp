#include "MarketReplies.h"

#include <iterator>

#include "Text.h"
#include "core/platform/ReplaceCharacters.h"
#include "core/service/MarketContract.h"

namespace tl::market {
namespace {

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

void appendElement(std::string& out, const char* name, const std::string& text) {
    if (text.empty()) {
        out += '<';
        out += name;
        out += "/>";
        return;
    }
    out += '<';
    out += name;
    out += '>';
    out += escapeMarkup(text);
    out += "</";
    out += name;
    out += '>';
}

// Payload texts are stored texts already; storedText again keeps a stray "&", "<" or ">" out of
// the payload whatever its origin, since the client decodes only "&lt;" and "&gt;".
void appendPayloadElement(std::string& out, const char* name, const std::string& text) {
    appendElement(out, name, storedText(text));
}

// Each field's element name and where its value is kept, in the order of RecordField.
struct FieldSource {
    const char* name;
    std::string ListingRecord::*text;
    std::int64_t ListingRecord::*number;
};
constexpr FieldSource kFields[] = {
    {"productid", nullptr, &ListingRecord::productid},
    {"titlebar", &ListingRecord::titlebar, nullptr},
    {"username", &ListingRecord::username, nullptr},
    {"ipaddress", &ListingRecord::ipaddress, nullptr},
    {"connection", &ListingRecord::connection, nullptr},
    {"filesize", nullptr, &ListingRecord::filesize},
    {"email", &ListingRecord::email, nullptr},
    {"price", &ListingRecord::price, nullptr},
    {"status", &ListingRecord::status, nullptr},
    {contract::key::kFilesKept, nullptr, &ListingRecord::fileskept},
};
static_assert(std::size(kFields) == static_cast<std::size_t>(RecordField::fileskept) + 1);

void appendField(std::string& out, const ListingRecord& record, RecordField field) {
    const FieldSource& source = kFields[static_cast<std::size_t>(field)];
    appendElement(out, source.name,
                  source.text ? record.*source.text : std::to_string(record.*source.number));
}

}  // namespace

std::string resultsDocument(const std::vector<ListingRecord>& records,
                            const std::vector<RecordField>& fields) {
    std::string out = kDeclaration;
    out += "\n<results>";
    for (const ListingRecord& record : records) {
        out += "<product>";
        for (const RecordField field : fields) appendField(out, record, field);
        out += "</product>";
    }
    out += "</results>";
    return out;
}

std::string keptFilesDocument(const std::vector<KeptFile>& files) {
    std::string out = kDeclaration;
    if (files.empty()) return out + "\n<results/>";
    out += "\n<results>";
    for (const KeptFile& file : files) {
        out += "<product>";
        appendElement(out, contract::key::kFileName, file.name);
        appendElement(out, contract::key::kFileBytes, std::to_string(file.size));
        appendElement(out, contract::key::kFileDigest, file.sha256);
        out += "</product>";
    }
    return out + "</results>";
}

std::string wrappedReply(const std::string& host, const std::string& payload) {
    std::string out = kDeclaration;
    out += "\n<string xmlns=\"http://" + escapeMarkup(host) + "/\">";
    out += replaceCharacters(payload, {{'<', "&lt;"}, {'>', "&gt;"}});
    return out + "</string>";
}

std::string itemPayload(const Listing& l) {
    std::string out = "<Product>";
    appendPayloadElement(out, "titlebar", l.titlebar);
    appendPayloadElement(out, "description", l.description);
    appendPayloadElement(out, "quantity", l.quantity);
    appendPayloadElement(out, "shippingpay", l.shippingpay);
    appendPayloadElement(out, "zipcode", l.zipcode);
    appendPayloadElement(out, "username", l.owner);
    appendPayloadElement(out, "price", fourDecimalPrice(l.price));
    // A listing no longer offered shows its state in place of its kind, as the lists do.
    appendPayloadElement(out, "status", l.state == "ACTIVE" ? l.kind : l.state);
    appendPayloadElement(out, "shipping", l.shipping);
    appendPayloadElement(out, "category1", l.category1);
    appendPayloadElement(out, "category2", l.category2);
    appendPayloadElement(out, "paymentterms", l.paymentterms);
    appendPayloadElement(out, "paymentmethods", l.paymentmethods);
    appendPayloadElement(out, "escrow", l.escrow);
    appendPayloadElement(out, "hyperlink", "");
    appendPayloadElement(out, "productid", std::to_string(l.productid));
    return out + "</Product>";
}

std::string clubsPayload(const std::vector<std::string>& clubs) {
    std::string out = "<Clubs>";
    appendPayloadElement(out, "Count", std::to_string(clubs.size()));
    for (const std::string& club : clubs) appendPayloadElement(out, "Club", club);
    return out + "</Clubs>";
}

std::string offlineItemDocument(const Listing& l, const Member& owner) {
    std::string out = kDeclaration;
    out += "\n<item>";
    appendElement(out, "itemno", std::to_string(l.productid));
    appendElement(out, "titlebar", l.titlebar);
    appendElement(out, "description", l.description);
    appendElement(out, "contact", owner.contact == "Phone" ? owner.phone : owner.email);
    return out + "</item>";
}

}  // namespace tl::market
