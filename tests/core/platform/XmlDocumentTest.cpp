#include <gtest/gtest.h>

#include "core/platform/XmlDocument.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

TEST(XmlDocument, KeepsTheStyleSheetInstructionAndWritesNoDeclaration) {
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml(
        R"(<?xml-stylesheet type="text/xsl" href="http://h/tradeloom/product.xsl"?><product></product>)"));
    XmlNode root = doc.documentElement();
    root.appendElement("titlebar", "Chair & <table>");
    root.appendElement("card");
    EXPECT_EQ(doc.xml(),
              R"(<?xml-stylesheet type="text/xsl" href="http://h/tradeloom/product.xsl"?>)"
              "<product><titlebar>Chair &amp; &lt;table&gt;</titlebar><card></card></product>");
}

TEST(XmlDocument, ElementListIsInDocumentOrderAndTextIsTheWholeContent) {
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml("<a><b>x<c>y</c></b><d/><c>z</c></a>"));
    std::string names;
    for (const XmlNode& e : doc.allElements()) names += e.name();
    EXPECT_EQ(names, "abcdc");
    EXPECT_EQ(doc.elementsByTagName("c").size(), 2u);
    EXPECT_EQ(doc.selectSingleNode("/a/b").text(), "xy");
    EXPECT_FALSE(doc.selectSingleNode("/a/missing"));
    EXPECT_FALSE(doc.selectSingleNode("!!bad xpath"));
}

TEST(XmlDocument, RemoveChildAndSaveLoadRoundTrip) {
    test::TempProgramDirectory home;
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml("<p><price>1</price><status>Selling</status></p>"));
    XmlNode root = doc.documentElement();
    ASSERT_TRUE(root.removeChild(root.firstChild()));
    root.appendElement("price", "Free");
    ASSERT_TRUE(doc.save(home.path() + "p.xml"));
    XmlDocument again;
    ASSERT_TRUE(again.load(home.path() + "p.xml"));
    EXPECT_EQ(again.xml(), "<p><status>Selling</status><price>Free</price></p>");
}

TEST(XmlDocument, MalformedOrMissingInputDoesNotLoad) {
    XmlDocument doc;
    EXPECT_FALSE(doc.loadXml("<a><b></a>"));
    EXPECT_FALSE(doc.loadXml(""));
    EXPECT_FALSE(doc.loadXml("just text"));
    EXPECT_FALSE(doc.load("/nonexistent/file.xml"));
    EXPECT_FALSE(doc.documentElement());
}

}  // namespace
}  // namespace tl
