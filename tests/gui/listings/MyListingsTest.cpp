#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <memory>

#include "core/listings/CProductXml.h"
#include "core/listings/ListingPaths.h"
#include "core/platform/Sha256.h"
#include "core/service/ServiceRequest.h"
#include "core/session/Session.h"
#include "gui/listings/CMyProductsLeft.h"
#include "gui/listings/CSellDlg.h"
#include "gui/listings/CViewMyProd.h"
#include "gui/listings/ListingFilesSending.h"
#include "gui/search/ResultList.h"
#include "gui/session/ListSelection.h"
#include "gui/widgets/Controls.h"
#include "ids_app.h"
#include "ids_mylistings.h"
#include "support/SampleListing.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;
using Strings = std::vector<std::string>;

constexpr char kMyListingsPath[] = "/tradeloom/app/mylisting.asp";
constexpr char kBoughtPath[] = "/tradeloom/app/boughtproducts.asp";

// Own listings in every state the server knows, one spelled the old way, and two states the list
// does not show, between rows that must keep all their texts.
constexpr char kMyListingsReply[] = R"(<results>
<product><productid>12</productid><titlebar>Oak table</titlebar><status>Selling</status>
  <filesize>120</filesize><price>-1</price></product>
<product><productid>9</productid><titlebar>Brass lamp</titlebar><status>Buying</status>
  <filesize>3</filesize><price>0</price></product>
<product><productid>30</productid><titlebar>Old clock</titlebar><status>SOLD</status>
  <filesize>1</filesize><price>5</price></product>
<product><productid>32</productid><titlebar>Clock case</titlebar><status>sold</status>
  <filesize>2</filesize><price>1</price></product>
<product><productid>31</productid><titlebar>Clock key</titlebar><status>Sold</status>
  <filesize>0</filesize><price>2.50</price></product>
<product><productid>34</productid><titlebar>Odd one</titlebar><status>Pending</status>
  <filesize>2</filesize><price>1</price></product>
<product><productid>33</productid><titlebar>Spare chair</titlebar><status>INACTIVE</status>
  <filesize>7</filesize><price>7.50</price></product>
</results>)";

// Bought from a seller who is online and from one who is not.
constexpr char kBoughtReply[] = R"(<results>
<product><productid>51</productid><titlebar>Vase</titlebar><username>eve</username>
  <ipaddress></ipaddress><connection>DSL</connection><filesize>4</filesize><price>0</price></product>
<product><productid>50</productid><titlebar>Radio</titlebar><username>dan</username>
  <ipaddress>10.0.0.8</ipaddress><connection>T1</connection><filesize>9</filesize>
  <price>25</price></product>
</results>)";

// The list and its buttons in one window; a stand-in main window that shows the list again
// when it is asked for the my-listings view.
struct MyListingsTest : ::testing::Test {
    test::TempProgramDirectory home;
    test::ScriptedHttpServer server;
    test::ScopedServerHost host{server.host()};
    test::ScopedSessionValues values;
    std::unique_ptr<ScriptedUi> ui = std::make_unique<ScriptedUi>();
    Strings log;  // views switched to
    test::ScopedViewSwitcher switcher{[this](View view) {
        log.push_back(test::viewLine(view));
        if (view == View::MyListings) reshow();
    }};
    Strings downloads;  // "id from address" of each listing fetched from its seller
    test::ScopedItemActions actions{[this](const std::string& id, const std::string& seller) {
                                        downloads.push_back(id + " from " + seller);
                                        return true;
                                    },
                                    [] {}};
    QWidget window;
    CViewMyProd* listView = new CViewMyProd(&window);
    CMyProductsLeft* buttons = new CMyProductsLeft(&window);

    MyListingsTest() {
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(buttons);
        layout->addWidget(listView);
        session().currentUserName = "ann 01";
        server.reply(kMyListingsPath, kMyListingsReply);
        server.reply(kBoughtPath, kBoughtReply);
        for (const char* path :
             {"remove.asp", "inactivate.asp", "reactivate.asp", "sell.asp", "isproductsold.asp"})
            server.reply(std::string("/tradeloom/app/") + path, "0");
    }
    // A scripted UI of its own for the next step: answers and dialogs left over are dropped.
    void freshUi() {
        ui.reset();
        ui = std::make_unique<ScriptedUi>();
    }
    void reshow() {
        listView->hide();
        window.show();
        listView->show();
    }
    ResultList& list() const { return listView->list(); }
    // Each row as its columns joined by "|", top to bottom.
    Strings rows() const {
        Strings shown;
        for (int i = 0; i < list().topLevelItemCount(); ++i) {
            QStringList texts;
            for (int column = 0; column < CViewMyProd::ColumnCount; ++column)
                texts << list().topLevelItem(i)->text(column);
            shown.push_back(texts.join('|').toStdString());
        }
        return shown;
    }
    Strings columnTexts(int column) const {
        Strings texts;
        for (int i = 0; i < list().topLevelItemCount(); ++i)
            texts.push_back(list().topLevelItem(i)->text(column).toStdString());
        return texts;
    }
    QTreeWidgetItem* row(const std::string& itemNumber) const {
        return list().findItems(QString::fromStdString(itemNumber), Qt::MatchExactly, 4).value(0);
    }
    std::size_t listReads() const {
        return std::ranges::count(server.targets(),
                                  std::string(kMyListingsPath) + "?username=ann%2001");
    }
    // The requests since the first of them, other than the list reads.
    Strings changesSince(std::size_t first) const {
        Strings changes;
        const Strings targets = server.targets();
        for (std::size_t i = first; i < targets.size(); ++i)
            if (targets[i].rfind(kMyListingsPath, 0) != 0 && targets[i].rfind(kBoughtPath, 0) != 0)
                changes.push_back(targets[i]);
        return changes;
    }
    void press(int button) { findControl<QPushButton>(buttons, button)->click(); }
};

TEST_F(MyListingsTest, EachShowingListsOwnAndBoughtItemsByItemNumber) {
    reshow();
    reshow();
    EXPECT_EQ(listReads(), 2u);
    const Strings targets = server.targets();
    EXPECT_EQ(Strings(targets.end() - 2, targets.end()),
              (Strings{"/tradeloom/app/mylisting.asp?username=ann%2001",
                       "/tradeloom/app/boughtproducts.asp?username=ann%2001"}));
    const Strings expected = {
        "buying|Brass lamp|Free|ann 01|9|3|On|buying|",
        "selling|Oak table|Make Offer|ann 01|12|120|On|selling|",
        "sold|Old clock|5|ann 01|30|1|On|sold|",
        "sold|Clock key|2.50|ann 01|31|0|On|sold|",
        "inactive|Spare chair|7.50|ann 01|33|7|On|inactive|",
        "bought|Radio|25|dan|50|9|Online|bought|",
        "bought|Vase|Free|eve|51|4||bought|",
    };
    EXPECT_EQ(rows(), expected);
    for (int i = 0; i < list().topLevelItemCount(); ++i)
        EXPECT_FALSE(list().topLevelItem(i)->icon(0).isNull()) << i;
    EXPECT_TRUE(ui->boxes().empty());

    // Each heading sorts by its column in its own direction; "Type" by the type; "Status" not.
    // Rows that tie may come in either order, so the sorted column is what is compared.
    struct Click {
        int column;
        int compared;
        Strings order;
    };
    const Strings byPrice = {"Make Offer", "Free", "Free", "2.50", "5", "7.50", "25"};
    const std::vector<Click> clicks = {
        {0, 7, {"bought", "bought", "buying", "inactive", "selling", "sold", "sold"}},
        {0, 7, {"sold", "sold", "selling", "inactive", "buying", "bought", "bought"}},
        {2, 2, byPrice},
        {6, 2, byPrice},
        {4, 4, {"9", "12", "30", "31", "33", "50", "51"}},
        {4, 4, {"51", "50", "33", "31", "30", "12", "9"}},
    };
    for (const Click& click : clicks) {
        SCOPED_TRACE(click.column);
        list().onHeaderClicked(click.column);
        EXPECT_EQ(columnTexts(click.compared), click.order);
    }

    // A list that cannot be read is told with the error's text; the other one is still listed.
    struct Failure {
        const char* failing;
        Strings shown;
    };
    for (const Failure& failure : {Failure{kMyListingsPath, {"50", "51"}},
                                   Failure{kBoughtPath, {"12", "30", "31", "33", "9"}}}) {
        SCOPED_TRACE(failure.failing);
        freshUi();
        server.reply(kMyListingsPath, kMyListingsReply);
        server.reply(kBoughtPath, kBoughtReply);
        server.reply(failure.failing, "", "text/plain", 500);
        reshow();
        EXPECT_EQ(ui->boxes(), (Boxes{{"Tradeloom", "the server answered with status 500"}}));
        Strings shown = columnTexts(4);
        std::sort(shown.begin(), shown.end());
        EXPECT_EQ(shown, failure.shown);
    }
}

TEST_F(MyListingsTest, ChoosingARowSelectsItsListingAndADoubleClickShowsIt) {
    reshow();
    list().setCurrentItem(row("12"));
    EXPECT_EQ(listSelection().selectedListingId, "12");

    // The list gaining focus chooses its selected row again after a button cleared it.
    listSelection().selectedListingId.clear();
    QFocusEvent focus(QEvent::FocusIn);
    QApplication::sendEvent(&list(), &focus);
    EXPECT_EQ(listSelection().selectedListingId, "12");

    emit list().itemDoubleClicked(row("30"), 1);
    EXPECT_EQ(listSelection().selectedListingId, "30");
    EXPECT_EQ(session().webAddress, ownListingPath("30"));
    EXPECT_EQ(log, Strings{"view 4"});

    // A bought item is fetched from its seller, or from the marketplace when the seller is off.
    emit list().itemDoubleClicked(row("51"), 1);
    EXPECT_EQ(session().webAddress, downloadsDirectory() + "51.xml");
    EXPECT_EQ(downloads, Strings{"51 from "});
    EXPECT_EQ(log, (Strings{"view 4", "view 4"}));
}

TEST_F(MyListingsTest, ButtonsAskConfirmRequestAndReportInOrder) {
    // The member's inactive listing 33 is on disk, so that it can be made active again.
    ListingValues spare = test::chairListing();
    spare.status = "Buying";
    ASSERT_EQ(CProductXml().BuildAndSave("33", spare), 1);

    const Boxes confirmRemove{{"Confirmation", "Are you sure to Delete Item 12?"}};
    const auto bought = [](const std::string& change) {
        return ScriptedUi::Box{"Bought Item",
                               "You bought this item from another member: only "
                               "its seller can " +
                                   change + " it."};
    };
    const std::string suggestion =
        "http://" + server.host() + "/tradeloom/app/catSuggestions.asp?senderid=ann%2001";
    const int sell = res::IDC_MPL_SELL, view = res::IDC_MPL_VIEW, edit = res::IDC_MPL_EDIT,
              remove = res::IDC_MPL_REMOVE, inactivate = res::IDC_MPL_INACTIVATE,
              reactivate = res::IDC_MPL_REACTIVATE, feedback = res::IDC_MPL_FEEDBACK;
    struct Case {
        std::string chosen;  // "" for none
        int button;
        std::vector<MessageResult> answers;
        bool serverUp;
        Boxes boxes;
        Strings requests;  // besides reading the lists
        Strings views;
        std::string selectionAfter;
        std::string webAddress;  // "" when left as it was
    };
    // clang-format off
    const std::vector<Case> cases = {
        // Nothing chosen: each button's own message and nothing else.
        {"", sell, {}, true, {{"Error MI12d", "You must select an item before it can be Edited"}}, {}, {}, "", ""},
        {"", view, {}, true, {{"Error MI12e", "You must select an item before it can be Edited"}}, {}, {}, "", ""},
        {"", edit, {}, true, {{"Error MI12f", "You must select an item before it can be Edited"}}, {}, {}, "", ""},
        {"", remove, {}, true, {{"Error MI12g", "You must select an item before it can be removed"}}, {}, {}, "", ""},
        {"", inactivate, {}, true, {{"Error MI12q", "You must select an item before it can be inactivated"}}, {}, {}, "", ""},
        {"", reactivate, {}, true, {{"Error MI12q", "You must select an item before it can be Activated"}}, {}, {}, "", ""},
        // A bought item is another member's listing: the buttons that change a listing say so.
        {"50", sell, {}, true, {bought("sell")}, {}, {}, "50", ""},
        {"50", remove, {MessageResult::Yes}, true, {bought("remove")}, {}, {}, "50", ""},
        {"51", inactivate, {MessageResult::Yes}, true, {bought("delete")}, {}, {}, "51", ""},
        {"50", reactivate, {MessageResult::Yes}, true, {bought("reactivate")}, {}, {}, "50", ""},
        {"50", edit, {}, true, {bought("edit")}, {}, {}, "50", ""},
        {"50", view, {}, true, {}, {}, {"view 4"}, "", downloadsDirectory() + "50.xml"},
        // The member's own listings.
        {"12", view, {}, true, {}, {}, {"view 4"}, "", ownListingPath("12")},
        {"12", edit, {}, true, {}, {}, {"view 6"}, "12", ""},
        {"12", remove, {MessageResult::No}, true, confirmRemove, {}, {}, "", ""},
        {"12", remove, {MessageResult::Yes}, true,
         {confirmRemove[0], {"Product Removed", "Product 12 Removed"}},
         {"/tradeloom/app/remove.asp?productid=12"}, {"view 8"}, "", ""},
        {"12", remove, {MessageResult::Yes}, false,
         {confirmRemove[0], {kNetworkErrorCaption, kNetworkErrorText}}, {}, {}, "", ""},
        {"12", inactivate, {MessageResult::Yes}, true,
         {{"Confirmation", "Are you sure you want to Remove Item 12?"}, {"Product Inactive", "Product 12 Inactive"}},
         {"/tradeloom/app/inactivate.asp?productid=12"}, {"view 8"}, "", ""},
        {"33", reactivate, {MessageResult::Yes}, true,
         {{"Confirmation", "Are you sure you want to Activate Item 33?"}, {"Product Inactivated", "Product 33 Activated"}},
         {"/tradeloom/app/reactivate.asp?productid=33&status=Buying"}, {"view 8"}, "", ""},
        {"", feedback, {}, true, {}, {}, {"view 4"}, "", suggestion},
    };
    // clang-format on
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        freshUi();
        for (MessageResult answer : c.answers) ui->answer(answer);
        reshow();
        list().clearSelection();
        listSelection().selectedListingId.clear();
        if (!c.chosen.empty()) list().setCurrentItem(row(c.chosen));
        ASSERT_EQ(listSelection().selectedListingId, c.chosen);
        session().webAddress = "earlier";
        host.set(c.serverUp ? server.host() : test::deadHost());
        const std::size_t before = server.targets().size();
        log.clear();

        press(c.button);
        EXPECT_EQ(ui->boxes(), c.boxes);
        EXPECT_EQ(changesSince(before), c.requests);
        EXPECT_EQ(log, c.views);
        // Only the view switch after a change reads the list again.
        EXPECT_EQ(server.targets().size() - before,
                  c.requests.size() + (c.views == Strings{"view 8"} ? 2 : 0));
        EXPECT_EQ(listSelection().selectedListingId, c.selectionAfter);
        EXPECT_EQ(session().webAddress, c.webAddress.empty() ? "earlier" : c.webAddress);
        host.set(server.host());
    }
    EXPECT_EQ(downloads, Strings{"50 from 10.0.0.8"});
}

TEST_F(MyListingsTest, SellTakesTheBuyerAndPriceAndReportsTheServersAnswer) {
    struct Entry {
        QString buyer, price;
    };
    struct Case {
        std::string soldReply;       // whether the listing can be sold
        std::vector<Entry> entries;  // each confirmed with OK; cancelled when none is accepted
        std::string saleReply;
        std::string notice;  // the fee the notice asks for, "" when it did not open
        Boxes boxes;
        std::string sale;  // the sale request, "" for none
    };
    const Boxes cannotBeSold{{"Message", "This Item cannot be Sold"}};
    const ScriptedUi::Box emptyField{"Empty Field(s)", "Please fill out the form completely"};
    const ScriptedUi::Box sold{"Product Sold", "Message sent to the Buyer"};
    const ScriptedUi::Box notSold{"Product Not Sold", "Product Unable to be Updated"};
    const std::string sale =
        "/tradeloom/app/sell.asp?productid=12&userbought=bob%20b&SenderID=ann%2001&price=";
    // clang-format off
    const std::vector<Case> cases = {
        {"-1", {{"bob b", "55"}}, "0", "", cannotBeSold, ""},
        {"0", {{"", "55"}, {"bob b", "55"}}, "0", "5.5", {emptyField, sold}, sale + "55.000"},
        {"0", {{"bob b", "10001"}, {"bob b", "12.5"}}, "-1", "1.25",
         {{"Tradeloom", "Enter a number between 0 and 10000."}, notSold}, sale + "12.500"},
        {"0", {{"bob b", ""}, {"bob b", "1.2.3"}}, "0", "",
         {{"Tradeloom", "Please enter a number."}, {"Tradeloom", "Please enter a number."}}, ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        freshUi();
        server.reply("/tradeloom/app/isproductsold.asp", c.soldReply);
        server.reply("/tradeloom/app/sell.asp", c.saleReply);
        std::string notice;
        ui->onModal([&c](ModalDialog& modal) {
            auto& dialog = dynamic_cast<CSellDlg&>(modal);
            for (const Entry& entry : c.entries) {
                findControl<QLineEdit>(&dialog, res::IDC_SELL_BUYER)->setText(entry.buyer);
                findControl<QLineEdit>(&dialog, res::IDC_SELL_PRICE)->setText(entry.price);
                findControl<QPushButton>(&dialog, res::IDOK)->click();
                if (dialog.result() == QDialog::Accepted) return kDialogOk;
            }
            return kDialogCancel;
        });
        ui->onModal([&notice](ModalDialog& modal) {
            auto* fee =
                findControl<QLineEdit>(dynamic_cast<QWidget*>(&modal), res::IDC_SOLD_AMOUNT);
            EXPECT_TRUE(fee->isReadOnly());
            notice = fee->text().toStdString();
            return kDialogOk;
        });
        reshow();
        list().setCurrentItem(row("12"));
        const std::size_t reads = listReads();
        const std::size_t before = server.targets().size();
        log.clear();

        press(res::IDC_MPL_SELL);
        EXPECT_EQ(ui->boxes(), c.boxes);
        EXPECT_EQ(notice, c.notice);
        const Strings changes = changesSince(before);
        ASSERT_FALSE(changes.empty());
        EXPECT_EQ(changes[0], "/tradeloom/app/isproductsold.asp?productid=12");
        EXPECT_EQ(changes.size() > 1 ? changes[1] : "", c.sale);
        EXPECT_EQ(log, Strings{"view 8"});
        // A sale the server accepted shows at once.
        EXPECT_EQ(listReads(), reads + (c.boxes.back() == sold ? 2 : 1));
        EXPECT_EQ(listSelection().selectedListingId, "");
    }
}

// Against a marketplace that keeps listing files the list says whether each listing's are kept,
// and Send Files sends the chosen listing's again, tells how that went and reads the list anew.
TEST_F(MyListingsTest, TheFilesColumnSaysWhetherTheyAreKeptAndSendFilesSendsThemAgain) {
    reshow();
    EXPECT_TRUE(list().isColumnHidden(CViewMyProd::FilesColumn));  // an older marketplace
    server.reply(kMyListingsPath, R"(<results>
<product><productid>12</productid><titlebar>Oak table</titlebar><status>Selling</status>
  <filesize>1</filesize><price>5</price><fileskept>1</fileskept></product>
<product><productid>9</productid><titlebar>Brass lamp</titlebar><status>Buying</status>
  <filesize>1</filesize><price>5</price><fileskept>0</fileskept></product>
</results>)");
    server.reply("/tradeloom/app/putlistingfile.asp", "0");
    server.reply("/tradeloom/app/keeplistingfiles.asp", "0");
    const std::string listing9 = "<product><attachment></attachment></product>";
    home.write("products/9.xml", listing9);
    reshow();
    EXPECT_FALSE(list().isColumnHidden(CViewMyProd::FilesColumn));
    EXPECT_EQ(columnTexts(CViewMyProd::FilesColumn), (Strings{"Not kept", "Kept", "", ""}));

    struct Press {
        const char* chosen;
        Strings sent;
        Boxes told;
    };
    const Press presses[] = {
        {"", {}, {{"Error MI12s", "You must select an item before its files can be sent"}}},
        {"50",
         {},
         {{"Bought Item",
           "You bought this item from another member: only its seller can send it."}}},
        {"9",
         {"/tradeloom/app/putlistingfile.asp?productid=9&name=9.xml&size=" +
              std::to_string(listing9.size()) + "&sha256=" + sha256Hex(listing9),
          "/tradeloom/app/keeplistingfiles.asp?productid=9"},
         {{"Listing Files",
           "The marketplace keeps the files of listing 9: buyers get its photos "
           "also while your computer is offline."}}},
    };
    for (const Press& press : presses) {
        SCOPED_TRACE(press.chosen);
        freshUi();
        const std::size_t first = server.targets().size();
        const std::size_t reads = listReads();
        listSelection().selectedListingId = press.chosen;
        findControl<QPushButton>(buttons, res::IDC_MPL_SEND_FILES)->click();
        ASSERT_TRUE(waitForListingFilesSent(5000));
        EXPECT_EQ(ui->boxes(), press.told);
        EXPECT_EQ(changesSince(first), press.sent);
        EXPECT_EQ(listReads() - reads, press.sent.empty() ? 0u : 1u);
    }
}

}  // namespace
}  // namespace tl
