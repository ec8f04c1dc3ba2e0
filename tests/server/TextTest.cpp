#include "Text.h"

#include <gtest/gtest.h>

namespace tl::market {
namespace {

TEST(MarketTextTest, StoredTextHasNoMarkupAmpersandsOrControlCharacters) {
    EXPECT_EQ(storedText("Tom & Jerry <b>2</b>"), "Tom and Jerry b2/b");
    EXPECT_EQ(storedText(std::string("a\x01\x7f\tb\r\nc")), "a\tb\r\nc");
    EXPECT_EQ(storedText("\"quoted\" 'single'"), "\"quoted\" 'single'");
    EXPECT_EQ(escapeMarkup("<a href=\"x\">&'</a>"),
              "&lt;a href=&quot;x&quot;&gt;&amp;&#39;&lt;/a&gt;");
}

TEST(MarketTextTest, Utf8ValidationRefusesBrokenAndOverlongSequences) {
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_TRUE(isValidUtf8("Crème 😀"));
    EXPECT_FALSE(isValidUtf8("\xff"));
    EXPECT_FALSE(isValidUtf8("\xc3"));          // cut short
    EXPECT_FALSE(isValidUtf8("\xc0\xaf"));      // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xed\xa0\x80"));  // surrogate
    EXPECT_EQ(characterCount("Crème"), 5u);
}

TEST(MarketTextTest, PricesTakeTheClientsFormsOnly) {
    EXPECT_EQ(parsePrice("5.99"), 5.99);
    EXPECT_EQ(parsePrice("0"), 0.0);
    EXPECT_EQ(parsePrice("-1"), -1.0);
    EXPECT_EQ(parsePrice("-1.000"), -1.0);
    EXPECT_EQ(parsePrice(" 5.99 "), 5.99);
    EXPECT_EQ(trimSpaces("\t 5.99  "), "5.99");
    for (const char* bad :
         {"", " ", "cheap", "-2", "1e3", "0x10", "inf", "nan", "5 .99", "5\"", "1,000"})
        EXPECT_FALSE(parsePrice(bad)) << bad;
    EXPECT_EQ(fourDecimalPrice("5.99"), "5.9900");
    EXPECT_EQ(fourDecimalPrice("-1"), "-1.0000");
    EXPECT_EQ(fourDecimalPrice("0"), "0");
    EXPECT_EQ(fourDecimalPrice("0.00"), "0");
}

}  // namespace
}  // namespace tl::market
