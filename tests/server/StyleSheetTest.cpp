// The listing style sheet as the client uses it: fetched from the server and applied with
// libxslt to a listing document next to its photos.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <functional>

#include "MarketStore.h"
#include "MarketTestServer.h"

namespace tl {
namespace {

// The HTML the style sheet makes of the listing document.
std::string render(const std::string& styleSheet, const std::string& listing) {
    xmlDocPtr sheetDoc = xmlReadMemory(styleSheet.data(), static_cast<int>(styleSheet.size()),
                                       "product.xsl", nullptr, XML_PARSE_NONET);
    if (!sheetDoc) return "(style sheet not XML)";
    xsltStylesheetPtr sheet = xsltParseStylesheetDoc(sheetDoc);
    if (!sheet) {
        xmlFreeDoc(sheetDoc);
        return "(not a style sheet)";
    }
    xmlDocPtr doc = xmlReadMemory(listing.data(), static_cast<int>(listing.size()), "listing.xml",
                                  nullptr, XML_PARSE_NONET);
    std::string html = "(listing not XML)";
    if (doc) {
        xmlDocPtr result = xsltApplyStylesheet(sheet, doc, nullptr);
        if (result) {
            xmlChar* bytes = nullptr;
            int size = 0;
            xsltSaveResultToString(&bytes, &size, result, sheet);
            html.assign(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
            xmlFree(bytes);
            xmlFreeDoc(result);
        } else {
            html = "(transform failed)";
        }
        xmlFreeDoc(doc);
    }
    xsltFreeStylesheet(sheet);
    return html;
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct StyleSheetTest : ::testing::Test {
    test::MarketTestServer market;
    const std::string sheet = requestText(Query(endpoints::kStyleSheet), Credentials::None);
};

TEST_F(StyleSheetTest, RendersAnOwnListingWithEveryPhotoAsARelativeImage) {
    const std::string listing =
        "<?xml-stylesheet type=\"text/xsl\" href=\"http://" + market.host() +
        "/tradeloom/product.xsl\"?><product><titlebar>Oak &amp; pine table</titlebar>"
        "<description>Solid &lt;b&gt;oak&lt;/b&gt;</description><quantity>2</quantity>"
        "<shippingpay>Buyer</shippingpay><zipcode>12345</zipcode><username>annlee</username>"
        "<status>Selling</status><shipping>WORLD</shipping><category1>Antiques; Furniture"
        "</category1><category2/><paymentterms/><paymentmethods>MV</paymentmethods>"
        "<escrow>none</escrow><readablemethods>Money Order/Cashiers Check Visa/Master Card "
        "</readablemethods><hyperlink>http://example.org/oak</hyperlink><card>card.png</card>"
        "<attachment><attach>17/front.jpg</attach><attach>17/back side.jpg</attach>"
        "<attach>card.png</attach></attachment><productid>17</productid>"
        "<price>Make Offer</price></product>";
    const std::string html = render(sheet, listing);
    EXPECT_TRUE(has(html, "<title>Oak &amp; pine table</title>")) << html;
    EXPECT_TRUE(has(html, "Solid &lt;b&gt;oak&lt;/b&gt;")) << "member text stays text";
    EXPECT_TRUE(has(html, "Make Offer"));
    EXPECT_TRUE(has(html, "For Sale"));
    EXPECT_TRUE(has(html, "Worldwide"));
    EXPECT_TRUE(has(html, "Money Order/Cashiers Check Visa/Master Card"));
    EXPECT_TRUE(has(html, "<a href=\"http://example.org/oak\">"));
    EXPECT_TRUE(has(html, "Antiques; Furniture"));
    EXPECT_TRUE(has(html, "annlee"));
    EXPECT_TRUE(has(html, "<img src=\"17/front.jpg\""));
    EXPECT_TRUE(has(html, "<img src=\"17/back side.jpg\"") ||
                has(html, "<img src=\"17/back%20side.jpg\""));
    EXPECT_TRUE(has(html, "<img src=\"card.png\""));
}

TEST_F(StyleSheetTest, RendersAFetchedCopyAndRefusesScriptLinks) {
    const std::string fetched =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><product><titlebar>Clock</titlebar>"
        "<description>Ticks</description><quantity>1</quantity><shippingpay>Seller"
        "</shippingpay><zipcode>1</zipcode><username>bobby1</username><price>Free</price>"
        "<status>Buying</status><shipping>US</shipping><category1>Antiques</category1>"
        "<category2/><paymentterms/><paymentmethods>PayPal </paymentmethods><escrow>none"
        "</escrow><hyperlink>javascript:alert(1)</hyperlink><productid>9</productid>"
        "<readablemethods>PayPal </readablemethods><card/><attachment/></product>";
    const std::string html = render(sheet, fetched);
    EXPECT_TRUE(has(html, "Wanted")) << html;
    EXPECT_TRUE(has(html, "Free"));
    EXPECT_TRUE(has(html, "United States only"));
    EXPECT_TRUE(has(html, "PayPal"));
    EXPECT_FALSE(has(html, "href=\"javascript:"));
    EXPECT_FALSE(has(html, "<img"));
}

TEST_F(StyleSheetTest, TheMarketplaceCopyOfAListingNoLongerOfferedSaysSo) {
    ASSERT_EQ(test::registerMember("annlee"), "0");
    auto& store = market.server().store();
    const struct {
        const char* state;
        std::function<void(std::int64_t)> change;
        const char* shown;
    } cases[] = {
        {"Selling", [](std::int64_t) {}, "For Sale"},
        {"SOLD", [&](std::int64_t id) { store.sell(id, "annlee", "4"); }, "Sold"},
        {"INACTIVE", [&](std::int64_t id) { store.inactivate(id); }, "No longer offered"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        const std::string id = test::publish(test::listingFields("annlee", "Oak table"));
        c.change(std::stol(id));
        const std::string status = std::string("<status>") + c.state + "</status>";
        const std::string reply = requestText(endpoints::getItem(id));
        EXPECT_TRUE(has(reply, "&lt;status&gt;" + std::string(c.state) + "&lt;/status&gt;"));
        const std::string html =
            render(sheet, "<product><titlebar>Oak table</titlebar>" + status + "</product>");
        EXPECT_TRUE(has(html, c.shown));
        EXPECT_EQ(has(html, "For Sale"), std::string(c.shown) == "For Sale");
    }
}

}  // namespace
}  // namespace tl
