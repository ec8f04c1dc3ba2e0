#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QPushButton>
#include <optional>

#include "SearchReplies.h"
#include "core/platform/ProgramDirectory.h"
#include "core/service/ServiceRequest.h"
#include "core/session/PendingSearch.h"
#include "core/session/Session.h"
#include "gui/search/CQSearch.h"
#include "gui/search/CSearchLeft.h"
#include "gui/search/ListingOpening.h"
#include "gui/search/ResultList.h"
#include "gui/widgets/Controls.h"
#include "ids_search.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;

// Plugs a listing download and a contact dialog into the search screens for the guard's
// lifetime; none afterwards.
class ScopedItemActions {
public:
    ScopedItemActions(ListingDownload download, ContactDialog contact) {
        setListingDownload(std::move(download));
        setContactDialog(std::move(contact));
    }
    ~ScopedItemActions() {
        setListingDownload({});
        setContactDialog({});
    }
    ScopedItemActions(const ScopedItemActions&) = delete;
    ScopedItemActions& operator=(const ScopedItemActions&) = delete;
};

// The result view and the search buttons side by side in one window, as the main frame holds
// them.
struct QuickSearchTest : ::testing::Test {
    test::TempProgramDirectory home;
    test::ScriptedHttpServer server;
    test::ScopedServerHost host{server.host()};
    test::ScopedSessionValues values;
    ScriptedUi ui;
    std::vector<int> views;
    test::ScopedViewSwitcher switcher{[this](int view) { views.push_back(view); }};
    QWidget window;
    CQSearch* results = new CQSearch(&window);
    CSearchLeft* buttons = new CSearchLeft(&window);

    QuickSearchTest() {
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(buttons);
        layout->addWidget(results);
        session().currentUserName = "ann01";
    }

    // Hands the search over as the search bar does and shows the result view anew.
    void search(const std::string& text, const std::string& status) {
        pendingSearch() = {1, text, status};
        results->hide();
        window.show();
        results->show();
    }
    void choose(const std::string& itemNumber) {
        ResultList& list = results->list();
        for (int row = 0; row < list.topLevelItemCount(); ++row)
            if (list.topLevelItem(row)->text(kItemNumberColumn).toStdString() == itemNumber)
                list.setCurrentItem(list.topLevelItem(row));
    }
};

TEST_F(QuickSearchTest, ThePendingSearchRunsWhenTheResultViewIsShown) {
    struct Case {
        const char* name;
        int flag;
        std::string text, status;
        std::optional<std::string> reply;  // none: the server cannot be reached
        std::vector<std::string> targets;
        int rows;
        Boxes boxes;
    };
    const std::string page = "/tradeloom/app/search.asp";
    const std::vector<Case> cases = {
        {"found",
         1,
         "oak & pine",
         "SELLING",
         kThreeRowsReply,
         {page + "?criteria=oak%20%26%20pine&status=SELLING"},
         3,
         {}},
        {"nothing waits", 0, "oak", "SELLING", kThreeRowsReply, {}, 3, {}},
        {"empty text",
         1,
         "",
         "BOTH",
         "<results/>",
         {page + "?criteria=&status=BOTH"},
         0,
         {{"Results", "There were No Search Results Found"}}},
        {"not a results reply",
         1,
         "lamp",
         "BUYING",
         "Server busy",
         {page + "?criteria=lamp&status=BUYING"},
         0,
         {{"Results", "There were No Search Results Found"}}},
        {"unreachable",
         1,
         "lamp",
         "BUYING",
         std::nullopt,
         {},
         0,
         {{kErrorCaption, kConnectionErrorText}}},
    };
    const std::string closed = "127.0.0.1:1";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clear();
        const std::size_t before = server.targets().size();
        host.set(c.reply ? server.host() : closed);
        if (c.reply) server.reply(page, *c.reply);
        pendingSearch() = {c.flag, c.text, c.status};
        results->hide();
        window.show();
        results->show();
        const std::vector<std::string> all = server.targets();
        EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<long>(before), all.end()),
                  c.targets);
        EXPECT_EQ(results->list().topLevelItemCount(), c.rows);
        EXPECT_EQ(ui.boxes(), c.boxes);
        EXPECT_EQ(pendingSearch().flag, 0);
    }
}

// The buttons act on the row last chosen in the result view (or the advanced search form):
// each case chooses rows, presses one button and checks the boxes, the favourite requests, the
// downloads and the contact dialog.
TEST_F(QuickSearchTest, SearchButtonsActOnTheChosenRow) {
    enum class Download { None, Works, Fails };
    struct Case {
        const char* name;
        int mode;
        std::vector<std::string> chosen;  // item numbers, in the order chosen
        std::string advancedId, advancedAddress;
        Download download;
        std::string inFavoriteReply;
        int button;
        Boxes boxes;
        std::vector<std::string> requests;   // favourite pages asked, by product id
        std::vector<std::string> downloads;  // "id@address"
        std::vector<std::string> contacts;   // the selected product id the dialog saw
    };
    const std::string added = "Product 12 successfully added to Favorites";
    const Boxes noSelection = {{"Error MI12q", "You must select an item to add to Favorites"}};
    const Boxes offline = {{"Can't Add Favorites with User Offline", "User Not Online"}};
    const std::vector<Case> cases = {
        {"add, nothing chosen",
         0,
         {},
         "",
         "",
         Download::Works,
         "0",
         res::IDC_SL_ADDFAVORITE,
         noSelection,
         {},
         {},
         {}},
        {"view, nothing chosen",
         1,
         {},
         "",
         "",
         Download::Works,
         "0",
         res::IDC_SL_VIEW,
         {{"Error MI12q", "You must select an item to view the Item"}},
         {},
         {},
         {}},
        {"add, poster offline",
         0,
         {"9"},
         "",
         "",
         Download::Works,
         "0",
         res::IDC_SL_ADDFAVORITE,
         offline,
         {},
         {},
         {}},
        {"add",
         0,
         {"12"},
         "",
         "",
         Download::Works,
         "0",
         res::IDC_SL_ADDFAVORITE,
         {{"Product Added", added}},
         {"isinfavorite 12", "addfavorite 12"},
         {"12@10.0.0.7"},
         {}},
        {"add, already a favourite, declined",
         0,
         {"12"},
         "",
         "",
         Download::Works,
         "-1",
         res::IDC_SL_ADDFAVORITE,
         {{"Message", "This Item is already in your Favorites, Do you want to Overwrite"}},
         {"isinfavorite 12"},
         {},
         {}},
        {"add, download fails",
         0,
         {"12"},
         "",
         "",
         Download::Fails,
         "0",
         res::IDC_SL_ADDFAVORITE,
         {{"User Not Accessable", "Cannot Add to Favorites"}},
         {"isinfavorite 12"},
         {"12@10.0.0.7"},
         {}},
        {"add, no download client",
         0,
         {"12"},
         "",
         "",
         Download::None,
         "0",
         res::IDC_SL_ADDFAVORITE,
         {},
         {},
         {},
         {}},
        {"add advanced, poster offline",
         1,
         {"12"},
         "55",
         "",
         Download::Works,
         "0",
         res::IDC_SL_ADDFAVORITE,
         offline,
         {},
         {},
         {}},
        {"add advanced",
         1,
         {},
         "55",
         "10.1.1.1",
         Download::Works,
         "0",
         res::IDC_SL_ADDFAVORITE,
         {{"Product Added", "Product 55 successfully added to Favorites"}},
         {"isinfavorite 55", "addfavorite 55"},
         {"55@10.1.1.1"},
         {}},
        {"view the row's own poster",
         0,
         {"12", "9"},
         "",
         "",
         Download::Works,
         "0",
         res::IDC_SL_VIEW,
         {},
         {},
         {"9@"},
         {}},
        {"view advanced, only a quick choice",
         1,
         {"12"},
         "",
         "",
         Download::Works,
         "0",
         res::IDC_SL_VIEW,
         {},
         {},
         {"12@10.0.0.7"},
         {}},
        {"view advanced",
         1,
         {"12"},
         "55",
         "10.1.1.1",
         Download::Works,
         "0",
         res::IDC_SL_VIEW,
         {},
         {},
         {"55@10.1.1.1"},
         {}},
        {"view, no download client",
         0,
         {"12"},
         "",
         "",
         Download::None,
         "0",
         res::IDC_SL_VIEW,
         {},
         {},
         {},
         {}},
        {"buy", 0, {"100"}, "55", "", Download::Works, "0", res::IDC_SL_BUY, {}, {}, {}, {"100"}},
        {"buy advanced",
         1,
         {"100"},
         "55",
         "",
         Download::Works,
         "0",
         res::IDC_SL_BUY,
         {},
         {},
         {},
         {"55"}},
        {"buy, nothing chosen",
         0,
         {},
         "55",
         "",
         Download::Works,
         "0",
         res::IDC_SL_BUY,
         {},
         {},
         {},
         {}},
    };
    server.reply("/tradeloom/app/search.asp", kThreeRowsReply);
    server.reply("/tradeloom/app/addfavorite.asp", "1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScopedSessionValues fresh;
        session().currentUserName = "ann01";
        server.reply("/tradeloom/app/isinfavorite.asp", c.inFavoriteReply);
        std::vector<std::string> downloads, contacts;
        ListingDownload download;
        if (c.download != Download::None)
            download = [&](const std::string& id, const std::string& address) {
                downloads.push_back(id + "@" + address);
                return c.download == Download::Works;
            };
        ScopedItemActions actions(download,
                                  [&] { contacts.push_back(session().selectedProductId); });
        search("", "BOTH");
        for (const std::string& row : c.chosen) choose(row);
        session().advancedProductId = c.advancedId;
        session().advancedSellerAddress = c.advancedAddress;
        buttons->setAdvancedMode(c.mode);
        ui.clear();
        views.clear();
        const std::size_t before = server.requests().size();

        findControl<QPushButton>(buttons, c.button)->click();

        std::vector<std::string> requests;
        const auto all = server.requests();
        for (std::size_t i = before; i < all.size(); ++i) {
            const std::string& target = all[i].target;
            const std::string page = target.substr(15, target.find(".asp") - 15);
            const std::size_t id = target.find("productid=") + 10;
            requests.push_back(page + " " + target.substr(id, target.find('&', id) - id));
        }
        EXPECT_EQ(ui.boxes(), c.boxes);
        EXPECT_EQ(requests, c.requests);
        EXPECT_EQ(downloads, c.downloads);
        EXPECT_EQ(contacts, c.contacts);
        if (!c.downloads.empty()) {
            const std::string id = c.downloads.back().substr(0, c.downloads.back().find('@'));
            EXPECT_EQ(session().webAddress, downloadsDirectory() + id + ".xml");
            EXPECT_EQ(views, std::vector<int>{static_cast<int>(View::WebPane)});
        } else {
            EXPECT_TRUE(views.empty());
        }
        if (!c.chosen.empty()) {
            EXPECT_EQ(session().selectedProductId, c.chosen.back());
        }
    }
}

// Choosing a row hands all its values to the session at once; a new search keeps them until
// another row is chosen.
TEST_F(QuickSearchTest, ChoosingARowWritesItsValuesUntilTheNextChoice) {
    server.reply("/tradeloom/app/search.asp", kThreeRowsReply);
    search("", "BOTH");
    struct Case {
        std::string chosen, address, seller, title;
    };
    for (const Case& c :
         {Case{"12", "10.0.0.7", "ann", "Oak table"}, Case{"9", "", "bob", "Brass lamp"}}) {
        SCOPED_TRACE(c.chosen);
        choose(c.chosen);
        EXPECT_EQ(session().selectedProductId, c.chosen);
        EXPECT_EQ(session().selectedSellerAddress, c.address);
        EXPECT_EQ(session().selectedSellerName, c.seller);
        EXPECT_EQ(session().selectedItemTitle, c.title);
    }
    server.reply("/tradeloom/app/search.asp", "<results/>");
    search("none", "SELLING");
    EXPECT_EQ(session().selectedProductId, "9");
    EXPECT_EQ(session().selectedSellerName, "bob");
}

}  // namespace
}  // namespace tl
