#include <gtest/gtest.h>

#include "core/platform/ServerHost.h"
#include "core/session/ReferenceLists.h"
#include "core/session/Session.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;
using Targets = std::vector<std::string>;

struct ReferenceListsTest : ::testing::Test {
    test::TempProgramDirectory home;
    test::ScriptedHttpServer server;
    ScriptedUi ui;
    test::ScopedServerHost host{server.host()};
    ReferenceListsTest() {
        session() = Session{};
        server.reply("/tradeloom/currentwordlist.xml", "wordlist-3.xml");
        server.reply("/tradeloom/currentcategorylist.xml", "NewTLTree.xml");
        server.reply("/tradeloom/wordlist-3.xml",
                     "<wordlist><words><word>bad</word></words></wordlist>");
        server.reply("/tradeloom/NewTLTree.xml", "<Categories><Antiques/></Categories>");
    }
};

TEST_F(ReferenceListsTest, DownloadsOnlyTheListsThatAreNotThereYet) {
    home.write("wordlist-3.xml", "old local copy");
    refreshReferenceLists();
    EXPECT_EQ(server.targets(),
              (Targets{"/tradeloom/currentwordlist.xml", "/tradeloom/currentcategorylist.xml",
                       "/tradeloom/NewTLTree.xml"}));
    EXPECT_EQ(home.read("wordlist-3.xml"), "old local copy");
    EXPECT_EQ(home.read("NewTLTree.xml"), "<Categories><Antiques/></Categories>");
    EXPECT_EQ(session().wordListFileName, "wordlist-3.xml");
    EXPECT_EQ(session().categoryFileName, "NewTLTree.xml");
    for (const auto& request : server.requests()) EXPECT_EQ(request.authorization, "");
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(ReferenceListsTest, AMissingListTakesTwoRequests) {
    refreshReferenceLists();
    EXPECT_EQ(server.targets().size(), 4u);
    EXPECT_EQ(home.read("wordlist-3.xml"), "<wordlist><words><word>bad</word></words></wordlist>");
}

TEST_F(ReferenceListsTest, AListTheServerCannotServeIsNotKeptAndIsFetchedAgainNextTime) {
    const struct {
        const char* body;
        int status;
    } cases[] = {{"<html>Not Found</html>", 404},
                 {"<wordlist><words/></wordlist>", 500},
                 {"", 200},
                 {"Service Unavailable", 200}};
    for (const auto& c : cases) {
        ui.clear();
        server.reply("/tradeloom/wordlist-3.xml", c.body, "text/plain", c.status);
        refreshReferenceLists();
        EXPECT_EQ(ui.boxes(), (Boxes{{"Error", "Exception occurred in Get XML List Update"}}))
            << c.status << " " << c.body;
        EXPECT_FALSE(home.exists("wordlist-3.xml")) << c.status << " " << c.body;
    }
    server.reply("/tradeloom/wordlist-3.xml", "<wordlist><words/></wordlist>");
    ui.clear();
    refreshReferenceLists();
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_EQ(home.read("wordlist-3.xml"), "<wordlist><words/></wordlist>");
}

TEST_F(ReferenceListsTest, TheListNameIsSentAsOnePathSegment) {
    server.reply("/tradeloom/currentwordlist.xml", "word list#2?.xml");
    server.reply("/tradeloom/word%20list%232%3F.xml", "<wordlist/>");
    refreshReferenceLists();
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_EQ(server.targets()[1], "/tradeloom/word%20list%232%3F.xml");
    EXPECT_EQ(home.read("word list#2?.xml"), "<wordlist/>");
    EXPECT_EQ(session().wordListFileName, "word list#2?.xml");
}

TEST_F(ReferenceListsTest, AnUnreachableServerShowsOneMessage) {
    host.set(test::deadHost());
    refreshReferenceLists();
    EXPECT_EQ(ui.boxes(), (Boxes{{"Error", "Exception occurred in Get XML List Update"}}));
    EXPECT_EQ(session().wordListFileName, "");
}

TEST_F(ReferenceListsTest, ANameThatLeavesTheProgramDirectoryIsRefusedAndNothingWritten) {
    server.reply("/tradeloom/currentcategorylist.xml", "../evil.xml");
    refreshReferenceLists();
    EXPECT_EQ(ui.boxes(), (Boxes{{"Error", "Exception occurred in Get XML List Update"}}));
    EXPECT_EQ(session().wordListFileName, "wordlist-3.xml");  // the word list stays fetched
    EXPECT_EQ(server.targets().size(), 3u);
    EXPECT_FALSE(home.exists("../evil.xml"));
}

}  // namespace
}  // namespace tl
