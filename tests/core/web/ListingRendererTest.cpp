#include <gtest/gtest.h>

#include "core/listings/FileScramble.h"
#include "core/platform/HttpRequest.h"
#include "core/platform/ServerHost.h"
#include "core/web/ListingRenderer.h"
#include "core/web/WebAddress.h"
#include "support/SampleStyleSheet.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

const std::string& kStyleSheet = test::kSampleStyleSheet;

std::string listing(const std::string& href, const std::string& title) {
    return "<?xml-stylesheet type=\"text/xsl\" href=\"" + href + "\"?><product><titlebar>" + title +
           "</titlebar><attachment><attach>photo.jpg</attach></attachment></product>";
}

std::string scrambled(std::string text) {
    scrambleBytes(text);
    return text;
}

struct ListingRendererTest : ::testing::Test {
    std::vector<std::string> fetched;
    std::string styleSheet = kStyleSheet;

    ListingRendererTest() { setServerHost("market.test:8080"); }
    ~ListingRendererTest() override { setServerHost(""); }

    TextFetcher fetcher() {
        return [this](const std::string& address) {
            fetched.push_back(address);
            return styleSheet;
        };
    }
};

TEST_F(ListingRendererTest, RendersAScrambledListingThroughItsStyleSheet) {
    const ListingPage page = renderListing(
        scrambled(listing("http://market.test:8080/tradeloom/product.xsl", "Red bike")), fetcher());
    ASSERT_TRUE(page.rendered) << page.failure;
    EXPECT_NE(page.html.find("<h1>Title: Red bike</h1>"), std::string::npos) << page.html;
    EXPECT_NE(page.html.find("<img src=\"photo.jpg\">"), std::string::npos) << page.html;
    EXPECT_EQ(fetched, std::vector<std::string>{"http://market.test:8080/tradeloom/product.xsl"});
}

TEST_F(ListingRendererTest, RendersAPlainListingAndOneWithADeclaration) {
    EXPECT_TRUE(renderListing(listing("/tradeloom/product.xsl", "Lamp"), fetcher()).rendered);
    const std::string declared =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>" + listing("/tradeloom/product.xsl", "Lamp");
    const ListingPage page = renderListing(scrambled(declared), fetcher());
    ASSERT_TRUE(page.rendered) << page.failure;
    EXPECT_NE(page.html.find("Title: Lamp"), std::string::npos);
}

TEST_F(ListingRendererTest, ReadsWindowsCodePageListingsAndAlwaysGivesUtf8) {
    const ListingPage page =
        renderListing(scrambled(listing("/tradeloom/product.xsl", "Caf\xE9 table")), fetcher());
    ASSERT_TRUE(page.rendered) << page.failure;
    EXPECT_NE(page.html.find("Title: Caf"), std::string::npos);
    EXPECT_EQ(page.html.find("Caf\xE9"), std::string::npos);  // no longer a stray byte
    EXPECT_NE(page.html.find("Caf\xC3\xA9 table"), std::string::npos);

    // Whatever output encoding the style sheet asks for, the page comes back in UTF-8.
    styleSheet.replace(styleSheet.find("method=\"html\""), 13,
                       "method=\"html\" encoding=\"ISO-8859-1\"");
    const ListingPage latin =
        renderListing(listing("/tradeloom/product.xsl", "Caf\xC3\xA9 table"), fetcher());
    EXPECT_NE(latin.html.find("Caf\xC3\xA9 table"), std::string::npos) << latin.html;
}

TEST_F(ListingRendererTest, TheStyleSheetAlwaysComesFromTheMarketplaceServer) {
    renderListing(listing("http://elsewhere.example/evil/sheet.xsl", "x"), fetcher());
    renderListing(listing("product.xsl", "x"), fetcher());
    EXPECT_EQ(fetched, (std::vector<std::string>{"http://market.test:8080/evil/sheet.xsl",
                                                 "http://market.test:8080/tradeloom/product.xsl"}));
}

TEST_F(ListingRendererTest, FailsCleanlyOnBrokenListingsAndStyleSheets) {
    EXPECT_EQ(renderListing(scrambled("<product><titlebar>"), fetcher()).failure,
              "The listing is damaged and cannot be shown.");
    EXPECT_EQ(renderListing("", fetcher()).failure, "The listing is damaged and cannot be shown.");
    EXPECT_EQ(renderListing(scrambled("<product/>"), fetcher()).failure,
              "The listing names no style sheet to show it with.");

    const std::string good = scrambled(listing("/tradeloom/product.xsl", "x"));
    const ListingPage unreachable = renderListing(
        good, [](const std::string&) -> std::string { throw RequestError("refused"); });
    EXPECT_EQ(unreachable.failure,
              "The style sheet could not be fetched from the Tradeloom network.");
    styleSheet = "<html><body>Not Found</body></html>";
    EXPECT_EQ(renderListing(good, fetcher()).failure,
              "The style sheet from the Tradeloom network could not be read.");
    styleSheet = "";
    EXPECT_FALSE(renderListing(good, fetcher()).rendered);
    styleSheet =
        R"(<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">)"
        R"(<xsl:template match="/"><xsl:message terminate="yes">no</xsl:message>)"
        R"(</xsl:template></xsl:stylesheet>)";
    EXPECT_EQ(renderListing(good, fetcher()).failure,
              "The style sheet could not show this listing.");
}

TEST_F(ListingRendererTest, AStyleSheetCannotReadLocalFiles) {
    test::TempProgramDirectory home;
    home.write("secret.txt", "<secret>hidden words</secret>");
    styleSheet =
        R"(<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">)"
        R"(<xsl:template match="/"><p><xsl:value-of select="document('file://)" +
        home.path() + R"x(secret.txt')"/></p></xsl:template></xsl:stylesheet>)x";
    const ListingPage page = renderListing(listing("/tradeloom/product.xsl", "x"), fetcher());
    EXPECT_EQ(page.html.find("hidden words"), std::string::npos);
}

TEST_F(ListingRendererTest, TheFileIsReadButNeverChanged) {
    test::TempProgramDirectory home;
    const std::string stored = scrambled(listing("/tradeloom/product.xsl", "Red bike"));
    home.write("products/7.xml", stored);
    // Nothing listens on the marketplace host: the fetch fails and the file is untouched.
    setServerHost("127.0.0.1:1");
    const ListingPage page = renderListingFile(home.path() + "products/7.xml");
    EXPECT_FALSE(page.rendered);
    EXPECT_EQ(home.read("products/7.xml"), stored);
    EXPECT_EQ(renderListingFile(home.path() + "products/8.xml").failure,
              "The listing file could not be opened.");
}

TEST(WebAddressTest, LocalListingsAreFilePathsNamingXml) {
    EXPECT_EQ(localListingPath("/home/a/downloads/12.xml"), "/home/a/downloads/12.xml");
    EXPECT_EQ(localListingPath("file:///home/a/products/3.xml"), "/home/a/products/3.xml");
    EXPECT_EQ(localListingPath("http://host/tradeloom/wordlist-1.xml"), std::nullopt);
    EXPECT_EQ(localListingPath("/home/a/notes.txt"), std::nullopt);
    EXPECT_EQ(localListingPath("host:8080/page.xml"), std::nullopt);
}

TEST(WebAddressTest, BareHostsGoOverHttp) {
    EXPECT_EQ(browsableAddress("127.0.0.1:8080"), "http://127.0.0.1:8080");
    EXPECT_EQ(browsableAddress("localhost:8080/tradeloom"), "http://localhost:8080/tradeloom");
    EXPECT_EQ(browsableAddress("http://host/x"), "http://host/x");
    EXPECT_EQ(browsableAddress("/home/a/page.html"), "file:///home/a/page.html");
}

}  // namespace
}  // namespace tl
