#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QPushButton>

#include "core/platform/ProgramDirectory.h"
#include "core/service/ServiceRequest.h"
#include "core/session/Session.h"
#include "gui/search/CFavoritesLeft.h"
#include "gui/search/CViewFavs.h"
#include "gui/search/ResultList.h"
#include "gui/session/ListSelection.h"
#include "gui/widgets/Controls.h"
#include "ids_search.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;

// A favourite for sale whose poster is online, a wanted one whose poster is offline, and ones
// that have been sold or taken off the market since they were added, or whose status is spelt
// otherwise.
constexpr char kFavoritesReply[] = R"(<results>
<result><productid>12</productid><titlebar>Oak table</titlebar><username>ann</username>
  <ipaddress>10.0.0.7</ipaddress><connection>DSL</connection><filesize>120</filesize>
  <status>Selling</status><price>-1</price></result>
<result><productid>9</productid><titlebar>Brass lamp</titlebar><username>bob</username>
  <ipaddress></ipaddress><connection>56K</connection><filesize>3</filesize>
  <status>Buying</status><price>12.50</price></result>
<result><productid>30</productid><titlebar>Old clock</titlebar><username>dan</username>
  <ipaddress>10.0.0.8</ipaddress><connection>T1</connection><filesize>1</filesize>
  <status>SOLD</status><price>5</price></result>
<result><productid>31</productid><titlebar>Old desk</titlebar><username>dan</username>
  <status>INACTIVE</status><price>5</price></result>
<result><productid>32</productid><titlebar>Old lamp</titlebar><username>dan</username>
  <ipaddress>10.0.0.8</ipaddress><status>selling</status><price>5</price></result>
</results>)";

struct FavoritesTest : ::testing::Test {
    test::TempProgramDirectory home;
    test::ScriptedHttpServer server;
    test::ScopedServerHost host{server.host()};
    test::ScopedSessionValues values;
    ScriptedUi ui;
    std::vector<std::string> log;  // views switched to and contact dialogs
    test::ScopedViewSwitcher switcher{[this](View view) {
        log.push_back(test::viewLine(view));
        if (view == View::Favorites) reshow();
    }};
    test::ScopedItemActions actions{{}, [this] { log.push_back("contact"); }};
    QWidget window;
    CViewFavs* favorites = new CViewFavs(&window);
    CFavoritesLeft* buttons = new CFavoritesLeft(&window);

    FavoritesTest() {
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(buttons);
        layout->addWidget(favorites);
        session().currentUserName = "ann 01";
        server.reply("/tradeloom/app/favorites.asp", kFavoritesReply);
        server.reply("/tradeloom/app/removefavs.asp", "0");
    }
    void reshow() {
        favorites->hide();
        window.show();
        favorites->show();
    }
    std::vector<std::string> rows() const {
        std::vector<std::string> shown;
        const ResultList& list = favorites->list();
        for (int i = 0; i < list.topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = list.topLevelItem(i);
            shown.push_back(row->text(kItemNumberColumn).toStdString() + " " +
                            row->text(7).toStdString());
        }
        return shown;
    }
    QTreeWidgetItem* row(const std::string& itemNumber) const {
        const ResultList& list = favorites->list();
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            if (list.topLevelItem(i)->text(kItemNumberColumn).toStdString() == itemNumber)
                return list.topLevelItem(i);
        return nullptr;
    }
    std::size_t favoriteRequests() const {
        std::size_t count = 0;
        for (const std::string& target : server.targets())
            if (target == "/tradeloom/app/favorites.asp?username=ann%2001") ++count;
        return count;
    }
};

TEST_F(FavoritesTest, TheListIsReadEachTimeAndShowsOnlyFavouritesOnOffer) {
    reshow();
    reshow();
    EXPECT_EQ(favoriteRequests(), 2u);
    EXPECT_EQ(rows(), (std::vector<std::string>{"9 buying", "12 On"}));
    EXPECT_TRUE(ui.boxes().empty());

    // Choosing a favourite forgets the address of a row chosen in the search results.
    listSelection().selectedSellerAddress = "10.9.9.9";
    favorites->list().setCurrentItem(row("12"));
    const ListSelection& chosen = listSelection();
    EXPECT_EQ(chosen.selectedFavoriteId, "12");
    EXPECT_EQ(chosen.selectedProductId, "12");
    EXPECT_EQ(chosen.selectedItemTitle, "Oak table");
    EXPECT_EQ(chosen.selectedSellerName, "ann");
    EXPECT_EQ(chosen.selectedSellerAddress, "");

    // Opening shows the copy downloaded when it was added; nothing is fetched.
    const std::size_t requests = server.targets().size();
    emit favorites->list().itemDoubleClicked(row("9"), 0);
    EXPECT_EQ(session().webAddress, downloadsDirectory() + "9.xml");
    EXPECT_EQ(log, std::vector<std::string>{"view 4"});
    EXPECT_EQ(server.targets().size(), requests);

    server.reply("/tradeloom/app/favorites.asp", "<results/>");
    reshow();
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(FavoritesTest, FavouriteButtonsActOnTheChosenFavourite) {
    struct Case {
        std::string chosen;  // item number, "" for none
        bool serverUp;
        int button;
        Boxes boxes;
        std::vector<std::string> log;
        std::string removal;  // the removal request, "" for none
    };
    const int remove = res::IDC_FL_REMOVE, buy = res::IDC_FL_BUY;
    // clang-format off
    const std::vector<Case> cases = {
        {"", true, remove, {{"Tradeloom", "You must select an Item to Remove it"}}, {}, ""},
        {"12", true, remove, {{"Tradeloom", "Product 12 Removed from Favorites"}}, {"view 5"},
         "/tradeloom/app/removefavs.asp?productid=12&username=ann%2001"},
        {"9", false, remove, {{kNetworkErrorCaption, kNetworkErrorText},
                               {"Remove Error", "An Error Occured, the item was not removed"}}, {}, ""},
        {"9", true, buy, {}, {"contact"}, ""},
        {"", true, buy, {}, {}, ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        test::ScopedSessionValues fresh;
        session().currentUserName = "ann 01";
        host.set(server.host());
        reshow();
        favorites->list().clearSelection();
        if (!c.chosen.empty()) favorites->list().setCurrentItem(row(c.chosen));
        if (!c.serverUp) host.set(test::deadHost());
        const std::size_t reads = favoriteRequests();
        const std::size_t before = server.targets().size();
        ui.clear();
        log.clear();

        findControl<QPushButton>(buttons, c.button)->click();
        EXPECT_EQ(ui.boxes(), c.boxes);
        EXPECT_EQ(log, c.log);
        const std::vector<std::string> targets = server.targets();
        EXPECT_EQ(targets.size() > before ? targets[before] : "", c.removal);
        // Only a removal reloads the list.
        EXPECT_EQ(favoriteRequests(), reads + (c.removal.empty() ? 0 : 1));
        if (c.button == remove) {
            EXPECT_EQ(listSelection().selectedFavoriteId, "");
            EXPECT_EQ(listSelection().selectedProductId, "");
        }
    }
}

}  // namespace
}  // namespace tl
