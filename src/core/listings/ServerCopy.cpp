#include "core/listings/ServerCopy.h"

#include <sstream>

#include "core/listings/CProductXml.h"
#include "core/listings/PaymentMethods.h"
#include "core/platform/XmlDocument.h"
#include "core/service/Endpoints.h"
#include "core/service/ServiceRequest.h"

namespace tl {
namespace {

constexpr char kDeclaration[] = R"(<?xml version="1.0" encoding="utf-8"?>)";
constexpr char kServerMakeOffer[] = "-1.0000";

// The elements this program adds after the server's own; a reply that brings its own is not
// allowed to put them twice into the document.
constexpr const char* kAddedElements[] = {"readablemethods", "card", "attachment"};

void removeChildren(XmlNode& root, const char* name) {
    while (XmlNode child = root.selectSingleNode(name)) root.removeChild(child);
}

}  // namespace

std::optional<std::string> listingFromServerReply(const std::string& reply) {
    // The wrapper's text is the listing written as escaped text; parsing both levels (rather
    // than replacing strings) keeps a member's own words, such as "Product", as they were.
    XmlDocument wrapper;
    if (!wrapper.loadXml(reply) || wrapper.documentElement().name() != "string") return {};
    XmlDocument listing;
    if (!listing.loadXml(wrapper.documentElement().text())) return {};
    XmlNode root = listing.documentElement();
    if (!root || (root.name() != "product" && root.name() != "Product")) return {};
    pugi::xml_node(root.raw()).set_name("product");

    for (const char* name : kAddedElements) removeChildren(root, name);
    XmlNode methods = root.selectSingleNode("paymentmethods");
    XmlNode price = root.selectSingleNode("price");
    if (!methods || !price) return {};

    const std::string readable = ReadableMethods(methods.text());
    root.appendElement("readablemethods", readable);
    root.appendElement("card");
    root.appendElement("attachment");
    if (price.text() == kFreePrice) price.setText(kFree);
    if (price.text() == kServerMakeOffer) price.setText(kMakeOffer);
    methods.setText(readable);

    std::ostringstream body;
    root.raw().print(
        body, "",
        pugi::format_raw | pugi::format_no_declaration | pugi::format_no_empty_element_tags);
    return kDeclaration + styleSheetInstruction() + body.str();
}

std::optional<std::string> fetchServerCopy(const std::string& productId) {
    try {
        return listingFromServerReply(requestText(endpoints::getItem(productId)));
    } catch (const RequestError&) {
        return {};
    }
}

}  // namespace tl
