#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/account/CUserXml.h"
#include "core/listings/CProductXml.h"
#include "core/listings/ServerCopy.h"
#include "core/platform/Files.h"
#include "core/platform/XmlDocument.h"
#include "core/reflists/CategoryDocument.h"
#include "core/reflists/CategoryTree.h"
#include "core/reflists/WordFilter.h"
#include "core/search/ResultQueries.h"
#include "core/service/Endpoints.h"
#include "core/service/Replies.h"
#include "core/session/ReferenceLists.h"
#include "core/session/Session.h"
#include "core/web/ListingRenderer.h"
#include "support/SampleStyleSheet.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

// levels nested elements around inner.
std::string nest(int levels, const std::string& inner) {
    std::string open, close;
    for (int i = 0; i < levels; ++i) {
        open += "<n>";
        close += "</n>";
    }
    return open + inner + close;
}

std::string escaped(const std::string& xml) {
    return replaceAll(replaceAll(xml, "<", "&lt;"), ">", "&gt;");
}

// Every reader of documents from outside, fed a document whose deepest element lies at a given
// level, in a shape the reader otherwise takes: up to kDeepestNesting levels it reads the
// document, deeper it fails as with any unreadable document (and does not run out of stack).
TEST(DeepXmlReaders, ReadUpToTheDeepestNestingAndRefuseDeeperDocuments) {
    test::TempProgramDirectory home;
    test::ScriptedHttpServer server;
    test::ScopedServerHost host(server.host());
    test::ScopedSessionValues sessionValues;
    const std::string homeDir = home.path();
    const auto file = [&](const std::string& name, const std::string& bytes) {
        home.write(name, bytes);
        return homeDir + name;
    };
    int refreshes = 0;

    struct Reader {
        const char* name;
        std::function<std::string(int levels)> document;
        std::function<bool(const std::string& document)> reads;
    };
    const std::vector<Reader> readers = {
        {"document from text", [](int l) { return nest(l, "x"); },
         [](const std::string& d) { return XmlDocument().loadXml(d); }},
        {"document from a file", [](int l) { return nest(l, ""); },
         [&](const std::string& d) { return XmlDocument().load(file("d.xml", d)); }},
        {"search reply",
         [](int l) {
             return "<results><item><productid>7</productid><titlebar>" + nest(l - 3, "Oak") +
                    "</titlebar></item></results>";
         },
         [&](const std::string& d) {
             server.reply("/tradeloom/app/search.asp", d);
             QuickSearchQuery query("oak", "BOTH");
             return query.Run() && query.GetTitlebar() == "Oak";
         }},
        {"club list",  // read inside <categories><root>
         [](int l) { return "<Clubs><count>1</count><c>" + nest(l - 4, "Chess") + "</c></Clubs>"; },
         [&](const std::string& d) {
             server.reply(endpoints::kClubList,
                          stringWrapperStart(server.host()) + escaped(d) + "</string>");
             CategoryDocument clubs;
             return clubs.LoadClubs() && clubs.ClubNames() == std::vector<std::string>{"Chess"};
         }},
        {"category file", [](int l) { return nest(l, ""); },
         [&](const std::string& d) {
             CategoryTree tree;
             return tree.build(file("categories.xml", d));
         }},
        {"cached word list", [](int l) { return "<w><l>" + nest(l - 2, "bad") + "</l></w>"; },
         [&](const std::string& d) {
             session().wordListFileName = "words.xml";
             file("words.xml", d);
             WordFilter filter;
             return filter.Load() == 1 && filter.Check("a bad title") == 0;
         }},
        {"fetched word list", [](int l) { return nest(l, ""); },
         [&](const std::string& d) {
             // A new name each time: a list once stored is not fetched again.
             const std::string name = "fresh" + std::to_string(++refreshes) + ".xml";
             session().wordListFileName.clear();
             server.reply(endpoints::kCurrentWordList, name);
             server.reply("/tradeloom/" + name, d);
             refreshReferenceLists();
             return session().wordListFileName == name && home.exists(name);
         }},
        {"user document",
         [](int l) { return "<user><firstname>" + nest(l - 2, "Ann") + "</firstname></user>"; },
         [&](const std::string& d) {
             file("users/ann.xml", d);
             CUserXml user;
             return user.Load("ann") && user.values.firstname == "Ann";
         }},
        {"marketplace copy of a listing",
         [](int l) {
             return "<string>" +
                    escaped(
                        "<product><paymentmethods>1</paymentmethods><price>5</price>"
                        "<titlebar>" +
                        nest(l - 2, "") + "</titlebar></product>") +
                    "</string>";
         },
         [](const std::string& d) { return listingFromServerReply(d).has_value(); }},
        {"downloaded listing",
         [](int l) {
             return "<product><attachment>" + nest(l - 2, "") + "</attachment></product>";
         },
         [](const std::string& d) { return CProductXml().OpenDownloadedText("12", d) == 1; }},
    };

    for (const Reader& reader : readers) {
        SCOPED_TRACE(reader.name);
        EXPECT_TRUE(reader.reads(reader.document(kDeepestNesting)));
        EXPECT_FALSE(reader.reads(reader.document(kDeepestNesting + 1)));
        EXPECT_FALSE(reader.reads(reader.document(100000)));
    }
}

// The listing renderer parses with the XML library's own nesting limit: a listing nested
// 100,000 deep is a damaged listing, not a crash.
TEST(DeepXmlReaders, RendererTakesNormalNestingAndRefusesVeryDeepListings) {
    const auto render = [](int levels) {
        return renderListing(
            R"(<?xml-stylesheet type="text/xsl" href="product.xsl"?><product><titlebar>)" +
                nest(levels, "Oak") + "</titlebar></product>",
            [](const std::string&) { return test::kSampleStyleSheet; });
    };
    const ListingPage normal = render(kDeepestNesting - 2);
    EXPECT_TRUE(normal.rendered) << normal.failure;
    EXPECT_NE(normal.html.find("Title: Oak"), std::string::npos);
    const ListingPage deep = render(100000);
    EXPECT_FALSE(deep.rendered);
    EXPECT_EQ(deep.failure, "The listing is damaged and cannot be shown.");
}

}  // namespace
}  // namespace tl
