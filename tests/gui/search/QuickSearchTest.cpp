#include <gtest/gtest.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <mutex>

#include "SearchReplies.h"
#include "core/platform/ProgramDirectory.h"
#include "core/service/ServiceRequest.h"
#include "core/session/PendingSearch.h"
#include "core/session/Session.h"
#include "gui/messaging/CMessageCenterDlg.h"
#include "gui/search/CQSearch.h"
#include "gui/search/CSearchLeft.h"
#include "gui/search/CUserNotOnlineDlg.h"
#include "gui/search/CViewFavs.h"
#include "gui/search/ListingOpening.h"
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

// The result view and the search buttons side by side in one window, as the main frame holds
// them, against a scripted server that logs the favourite requests.
struct QuickSearchTest : ::testing::Test {
    test::TempProgramDirectory home;
    test::ScriptedHttpServer server;
    test::ScopedServerHost host{server.host()};
    test::ScopedSessionValues values;
    ScriptedUi ui;
    std::mutex mutex;
    std::vector<std::string> log;  // favourite requests, downloads, contact dialogs, views
    test::ScopedViewSwitcher switcher{[this](View view) { note(test::viewLine(view)); }};
    QWidget window;
    CQSearch* results = new CQSearch(&window);
    CSearchLeft* buttons = new CSearchLeft(&window);

    QuickSearchTest() {
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(buttons);
        layout->addWidget(results);
        for (const char* page : {"isinfavorite", "addfavorite"})
            server.handle(std::string("/tradeloom/app/") + page + ".asp",
                          [this, page](const test::ScriptedHttpServer::Request& request) {
                              note(page + request.target.substr(request.target.find('?')));
                              return std::string(page) == "addfavorite" ? "1" : inFavorite;
                          });
    }
    void note(const std::string& event) {
        std::lock_guard lock(mutex);
        log.push_back(event);
    }
    // Hands the search over as the search bar does and shows the result view anew.
    void search(int flag, const std::string& text, const std::string& status) {
        pendingSearch() = {flag, text, status};
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
    std::string inFavorite = "0";
};

TEST_F(QuickSearchTest, ThePendingSearchRunsWhenTheResultViewIsShown) {
    struct Case {
        int flag;
        std::string text, status, reply, target;  // reply "": the server cannot be reached
        int rows;
        Boxes boxes;
    };
    const Boxes none = {{"Results", "There were No Search Results Found"}};
    // clang-format off
    const std::vector<Case> cases = {
        {1, "oak & pine", "SELLING", kThreeRowsReply, "?criteria=oak%20%26%20pine&status=SELLING", 3, {}},
        {0, "oak", "SELLING", kThreeRowsReply, "", 3, {}},
        {1, "", "BOTH", "<results/>", "?criteria=&status=BOTH", 0, none},
        {1, "lamp", "BUYING", "Server busy", "?criteria=lamp&status=BUYING", 0, none},
        {1, "lamp", "BUYING", "", "", 0, {{kErrorCaption, kConnectionErrorText}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " " + std::to_string(c.flag));
        ui.clear();
        const std::size_t before = server.targets().size();
        host.set(c.reply.empty() ? "127.0.0.1:1" : server.host());
        server.reply("/tradeloom/app/search.asp", c.reply);
        search(c.flag, c.text, c.status);
        const std::vector<std::string> targets = server.targets();
        const std::string sent = targets.size() > before ? targets.back() : "";
        EXPECT_EQ(sent, c.target.empty() ? "" : "/tradeloom/app/search.asp" + c.target);
        EXPECT_EQ(results->list().topLevelItemCount(), c.rows);
        EXPECT_EQ(ui.boxes(), c.boxes);
        EXPECT_EQ(pendingSearch().flag, 0);
    }
}

// Each case chooses rows of the result view (and maybe a row of the advanced form), presses a
// search button and checks the boxes and the log of requests, downloads and dialogs.
TEST_F(QuickSearchTest, SearchButtonsActOnTheChosenRow) {
    enum Download { None, Works, Fails };
    struct Case {
        int mode;
        std::vector<std::string> chosen;  // item numbers, in the order chosen
        std::string advancedId, advancedAddress;
        Download download;
        std::string inFavorite;
        int button;
        Boxes boxes;
        std::vector<std::string> log;
    };
    const int add = res::IDC_SL_ADDFAVORITE, view = res::IDC_SL_VIEW, buy = res::IDC_SL_BUY;
    const Boxes offline = {{"Can't Add Favorites with User Offline", "User Not Online"}};
    const std::string q12 = "?productid=12&username=ann01", q55 = "?productid=55&username=ann01";
    // clang-format off
    const std::vector<Case> cases = {
        {0, {}, "", "", Works, "0", add, {{"Error MI12q", "You must select an item to add to Favorites"}}, {}},
        {1, {}, "", "", Works, "0", view, {{"Error MI12q", "You must select an item to view the Item"}}, {}},
        {0, {"9"}, "", "", Works, "0", add, {}, {}},  // the "User Not Online" dialog instead
        {0, {}, "55", "", Works, "0", add, offline, {}},
        {0, {"9", "12"}, "", "", Works, "0", add, {{"Product Added", "Product 12 successfully added to Favorites"}},
         {"isinfavorite" + q12, "download 12@10.0.0.7", "view 4", "addfavorite" + q12}},
        {0, {"12"}, "", "", Works, "-1", add,
         {{"Message", "This Item is already in your Favorites, Do you want to Overwrite"}}, {"isinfavorite" + q12}},
        {0, {"12"}, "", "", Fails, "0", add, {{"User Not Accessable", "Cannot Add to Favorites"}},
         {"isinfavorite" + q12, "download 12@10.0.0.7"}},
        {0, {"12"}, "", "", None, "0", add, {}, {}},
        {1, {"12"}, "55", "", Works, "0", add, {}, {}},
        {1, {}, "55", "10.1.1.1", Works, "0", add, {{"Product Added", "Product 55 successfully added to Favorites"}},
         {"isinfavorite" + q55, "download 55@10.1.1.1", "view 4", "addfavorite" + q55}},
        {0, {"12", "9"}, "", "", Works, "0", view, {}, {"download 9@", "view 4"}},
        {1, {"12"}, "", "", Works, "0", view, {}, {"download 12@10.0.0.7", "view 4"}},
        {1, {"12"}, "55", "10.1.1.1", Works, "0", view, {}, {"download 55@10.1.1.1", "view 4"}},
        {0, {"12"}, "", "", None, "0", view, {}, {}},
        {0, {"100"}, "55", "", Works, "0", buy, {}, {"contact 100"}},
        {1, {"100"}, "55", "", Works, "0", buy, {}, {"contact 55"}},
        {0, {}, "55", "", Works, "0", buy, {}, {}},
    };
    // clang-format on
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        test::ScopedSessionValues fresh;
        session().currentUserName = "ann01";
        inFavorite = c.inFavorite;
        ListingDownload download;
        if (c.download != None)
            download = [&](const std::string& id, const std::string& address) {
                EXPECT_EQ(session().webAddress, downloadsDirectory() + id + ".xml");
                note("download " + id + "@" + address);
                return c.download == Works;
            };
        test::ScopedItemActions actions(
            download, [&] { note("contact " + listSelection().selectedProductId); });
        server.reply("/tradeloom/app/search.asp", kThreeRowsReply);
        search(1, "", "BOTH");
        for (const std::string& row : c.chosen) choose(row);
        listSelection().advancedProductId = c.advancedId;
        listSelection().advancedSellerAddress = c.advancedAddress;
        buttons->setAdvancedMode(c.mode);
        ui.clear();
        log.clear();

        findControl<QPushButton>(buttons, c.button)->click();
        EXPECT_EQ(ui.boxes(), c.boxes);
        EXPECT_EQ(log, c.log);
        if (c.chosen.empty()) continue;
        // The choice outlives the press, and a new search, until another row is chosen.
        server.reply("/tradeloom/app/search.asp", "<results/>");
        search(1, "none", "SELLING");
        EXPECT_EQ(listSelection().selectedProductId, c.chosen.back());
    }
}

// Every control of the two templates can be found by its id, those the panes carry hidden.
TEST(ResultTemplates, HoldTheirHiddenButtons) {
    QWidget window;
    const QWidget* results = new CQSearch(&window);
    const QWidget* favorites = new CViewFavs(&window);
    const struct {
        const QWidget* view;
        int id;
        const char* text;
    } buttons[] = {
        {results, res::IDC_QR_SEARCH, "Search!"},
        {results, res::IDC_QR_ADDFAVORITE, "Add Favorite"},
        {results, res::IDC_QR_BUY, "Buy"},
        {results, res::IDC_QR_ADVANCED, "Advanced"},
        {favorites, res::IDC_FV_REMOVE, "Remove"},
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.text);
        const auto* button = findControl<QPushButton>(b.view, b.id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), b.text);
        EXPECT_TRUE(button->isHidden());
    }
    EXPECT_TRUE(findControl<QPushButton>(results, res::IDC_QR_SEARCH)->isDefault());
}

// A favourite cannot be added while its poster is offline: the "User Not Online" dialog says so
// and offers to leave the poster a message about the item instead.
TEST_F(QuickSearchTest, AddingAFavoriteOfAnOfflinePosterOffersToLeaveAMessage) {
    const struct {
        int mode;
        std::string chosen, advancedId, poster, title;
    } cases[] = {
        {0, "9", "", "bob", "Brass lamp"},
        {1, "9", "55", "bob", "Brass lamp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        session().currentUserName = "ann01";
        server.reply("/tradeloom/app/search.asp", kThreeRowsReply);
        search(1, "", "BOTH");
        choose(c.chosen);
        listSelection().advancedProductId = c.advancedId;
        listSelection().advancedSellerAddress.clear();
        buttons->setAdvancedMode(c.mode);
        const std::string id = c.mode == 0 ? c.chosen : c.advancedId;
        ui.clear();
        log.clear();
        std::string caption, text;
        ui.onModal([&](ModalDialog& modal) {
            auto& dialog = dynamic_cast<CUserNotOnlineDlg&>(modal);
            caption = dialog.windowTitle().toStdString();
            text = findControl<QLabel>(&dialog, res::IDC_USERNOTONLINE_TEXT)->text().toStdString();
            findControl<QPushButton>(&dialog, res::IDC_USERNOTONLINE_OFFER)->click();
            return dialog.result() == QDialog::Accepted ? kDialogOk : kDialogCancel;
        });
        findControl<QPushButton>(buttons, res::IDC_SL_ADDFAVORITE)->click();
        EXPECT_EQ(caption, "User Not Online");
        EXPECT_EQ(text, c.poster + " is not online, so Item #" + id +
                            " cannot be fetched from their computer or added to your Favorites "
                            "now. You can leave " +
                            c.poster + " a message about it instead.");
        EXPECT_TRUE(ui.boxes().empty());
        EXPECT_TRUE(log.empty());  // no favourite request, no download
        CMessageCenterDlg* compose = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* message = qobject_cast<CMessageCenterDlg*>(window)) compose = message;
        ASSERT_NE(compose, nullptr);
        EXPECT_EQ(compose->address(), "http://" + server.host() +
                                          "/tradeloom/app/message/message.asp?senderid=ann01" +
                                          "&recipientid=" + c.poster + "&productid=" + id +
                                          "&title=" + "Brass%20lamp&Price=100");
        delete compose;
    }
}

// Sizes around the threshold at each connection speed; item 5's poster is online.
constexpr char kSizesReply[] = R"(<results>
<result><productid>5</productid><username>ann</username><ipaddress>10.0.0.5</ipaddress>
  <connection>Cable</connection><filesize>85</filesize><status>Selling</status></result>
<result><productid>6</productid><username>ann</username><connection>Cable</connection>
  <filesize>86</filesize><status>Selling</status></result>
<result><productid>7</productid><username>ann</username><connection>T1</connection>
  <filesize>500</filesize><status>Selling</status></result>
<result><productid>8</productid><username>ann</username><connection>T3</connection>
  <filesize>200</filesize><status>Buying</status></result>
<result><productid>9</productid><username>ann</username><connection>56K</connection>
  <filesize>big</filesize><status>Buying</status></result>
</results>)";

TEST_F(QuickSearchTest, ADoubleClickOpensTheListingAskingFirstWhenItIsLarge) {
    enum Download { Works, Fails, ClickedAgain };
    struct Case {
        std::string item, own;
        MessageResult answer;
        Download download;
        std::string question;  // "" for none
        std::vector<std::string> log;
    };
    const auto asks = [](const std::string& seconds) {
        return "The listing you wish to download has attachments larger than 85K.  Your "
               "Estimated Download time is " +
               seconds + " seconds, it may take longer. Do you wish to proceed?";
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"5", "T3", MessageResult::Yes, Works, "", {"download 5@10.0.0.5", "view 4"}},
        {"6", "T3", MessageResult::Yes, Works, asks("2"), {"download 6@", "view 4"}},
        {"7", "56K", MessageResult::No, Works, asks("100"), {}},
        {"7", "", MessageResult::Yes, Works, asks("12"), {"download 7@", "view 4"}},
        {"8", "T3", MessageResult::Yes, Works, asks("200"), {"download 8@", "view 4"}},
        {"9", "DSL", MessageResult::Yes, Works, "", {"download 9@", "view 4"}},
        {"5", "", MessageResult::Yes, Fails, "", {"download 5@10.0.0.5"}},
        {"5", "", MessageResult::Yes, ClickedAgain, "", {"download 5@10.0.0.5", "view 4"}},
    };
    // clang-format on
    server.reply("/tradeloom/app/search.asp", kSizesReply);
    search(1, "", "BOTH");
    ASSERT_EQ(results->list().topLevelItemCount(), 5);
    const auto doubleClick = [&](const std::string& item) {
        choose(item);
        emit results->list().itemDoubleClicked(results->list().currentItem(), 0);
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        session().connectionType = c.own;
        session().webAddress = "shown before";
        test::ScopedItemActions actions(
            [&](const std::string& id, const std::string& address) {
                note("download " + id + "@" + address);
                if (c.download == ClickedAgain) doubleClick("8");
                return c.download != Fails;
            },
            {});
        ui.clear();
        log.clear();
        if (!c.question.empty()) ui.answer(c.answer);
        doubleClick(c.item);
        const Boxes question = {{"File Size Alert", c.question}};
        EXPECT_EQ(ui.boxes(), c.question.empty() ? Boxes{} : question);
        EXPECT_EQ(log, c.log);
        const bool shown = !c.log.empty() && c.log.back() == "view 4";
        EXPECT_EQ(ui.unscriptedQuestions(), 0);
        EXPECT_EQ(session().webAddress,
                  shown ? downloadsDirectory() + c.item + ".xml" : "shown before");
    }
}

}  // namespace
}  // namespace tl
