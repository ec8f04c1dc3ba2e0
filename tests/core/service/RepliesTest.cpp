#include <gtest/gtest.h>

#include <chrono>

#include "core/service/Replies.h"

namespace tl {
namespace {

TEST(Replies, RecordsComeInServerOrderAndAnEmptyRootGivesNone) {
    XmlDocument doc;
    ASSERT_TRUE(
        doc.loadXml("<results>\n <product><productid>2</productid></product>\n"
                    " <product><productid>1</productid><titlebar/></product></results>"));
    const auto records = resultRecords(doc);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(recordField(records[0], "productid"), "2");
    EXPECT_EQ(recordField(records[1], "productid"), "1");
    EXPECT_EQ(recordField(records[1], "titlebar"), "");
    EXPECT_EQ(recordField(records[1], "missing"), "");

    ASSERT_TRUE(doc.loadXml("<results></results>"));
    EXPECT_TRUE(resultRecords(doc).empty());
    ASSERT_TRUE(doc.loadXml("<html><body>Server Error</body></html>"));
    EXPECT_TRUE(resultRecords(doc).empty());
    EXPECT_FALSE(doc.loadXml("Server Error"));
    EXPECT_TRUE(resultRecords(doc).empty());
}

TEST(Replies, UnwrapsAStringWrappedDocument) {
    const std::string reply =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<string xmlns=\"http://127.0.0.1:8080/\">&lt;Clubs&gt;&lt;Count&gt;1&lt;/Count&gt;"
        "&lt;Club&gt;Chess&lt;/Club&gt;&lt;/Clubs&gt;</string>";
    EXPECT_EQ(unwrapStringDocument(reply, "127.0.0.1:8080"),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
              "<Clubs><Count>1</Count><Club>Chess</Club></Clubs>");
}

TEST(Replies, ReplaceAllDoesNotRescanWhatItInserted) {
    EXPECT_EQ(replaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(replaceAll("&lt;a&gt;&lt;", "&lt;", "<"), "<a&gt;<");
}

TEST(Replies, UnwrappingAReplyFullOfEscapesTakesLinearTime) {
    std::string escapedTags;
    for (int i = 0; i < 500000; ++i) escapedTags += "&lt;n&gt;";
    const auto started = std::chrono::steady_clock::now();
    const std::string unwrapped = unwrapStringDocument(escapedTags, "h");
    // Replacing in place took minutes for this 4.5 MB reply; generous against a slow machine.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(unwrapped.size(), 500000u * 3);
    EXPECT_EQ(unwrapped.substr(0, 6), "<n><n>");
}

}  // namespace
}  // namespace tl
