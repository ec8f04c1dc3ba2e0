#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QPushButton>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <filesystem>
#include <memory>
#include <optional>

#include "core/search/ResultQueries.h"
#include "gui/messaging/CMessageCenterDlg.h"
#include "gui/messaging/CTLMessageCenter.h"
#include "gui/search/CContactDlg.h"
#include "gui/search/CDownloadingDlg.h"
#include "gui/search/CQSearch.h"
#include "gui/search/CSearchLeft.h"
#include "gui/search/ResultList.h"
#include "gui/web/CExplorer1.h"
#include "gui/widgets/Controls.h"
#include "ids_search.h"
#include "support/MarketplaceFixture.h"

namespace tl {
namespace {

constexpr int kPageTimeoutMs = 30000;

// Runs a script in the browser's page until it gives a value.
QString evaluate(QWebEngineView* browser, const QString& script) {
    auto result = std::make_shared<std::optional<QString>>();
    browser->page()->runJavaScript(script,
                                   [result](const QVariant& value) { *result = value.toString(); });
    if (!QTest::qWaitFor([&] { return result->has_value(); }, kPageTimeoutMs)) return {};
    return **result;
}

// Waits until the script's value in the page holds the text.
bool waitFor(QWebEngineView* browser, const QString& script, const QString& text) {
    return QTest::qWaitFor([&] { return evaluate(browser, script).contains(text); },
                           kPageTimeoutMs);
}

bool waitForText(QWebEngineView* browser, const QString& text) {
    return waitFor(browser, "document.body ? document.body.innerText : ''", text);
}

// Member A (the seller) serves its listing with two photos from 127.0.0.2; member B (the buyer)
// works from 127.0.0.3 and has found the listing with a quick search.
class WholeRoad : public test::MarketplaceTest {
protected:
    WholeRoad() {
        logIn(seller);
        id = publishSellersListing(
            {{"photo1.jpg", std::string(4000, '\1')}, {"photo2.jpg", std::string(8000, '\2')}});
        serveSellersListings();
        logIn(buyer);
        DownloadSettings settings = downloadFromSeller();
        settings.connectTimeout = std::chrono::milliseconds(1000);
        actions.emplace(
            [this, settings](const std::string& productId, const std::string& address) {
                ui.onModal([](ModalDialog& dialog) { return dialog.runModalLoop(); });
                return !downloadListing(productId, address, settings).empty();
            },
            &CContactDlg::showForSelection);
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(buttons);
        layout->addWidget(results);
        pendingSearch() = {1, "Tom and Jerry", "BOTH"};
        window.show();
        EXPECT_EQ(results->list().topLevelItemCount(), 1);
        row = results->list().topLevelItem(0);
        if (row) results->list().setCurrentItem(row);
        ui.clear();
    }

    void open() { emit results->list().itemDoubleClicked(row, 0); }

    std::string id;
    std::optional<test::ScopedItemActions> actions;
    std::vector<View> views;
    test::ScopedViewSwitcher frame{[this](View view) { views.push_back(view); }};
    QWidget window;
    CSearchLeft* buttons = new CSearchLeft(&window);
    CQSearch* results = new CQSearch(&window);
    QTreeWidgetItem* row = nullptr;
};

TEST_F(WholeRoad, BOpensTheListingFromAsComputerWithThePhotosAsAHasThem) {
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->text(kAddressColumn).toStdString(), seller.address);
    open();
    EXPECT_EQ(views, std::vector<View>{View::WebPane});
    EXPECT_EQ(session().webAddress, home.path() + "downloads/" + id + ".xml");
    ASSERT_EQ(attached.size(), 2u);
    for (const std::string& entry : attached)
        EXPECT_EQ(home.read("downloads/" + entry), home.read("products/" + entry)) << entry;
}

TEST_F(WholeRoad, BKeepsTheListingAsAFavourite) {
    ASSERT_NE(row, nullptr);
    findControl<QPushButton>(buttons, res::IDC_SL_ADDFAVORITE)->click();
    EXPECT_EQ(ui.boxes(),
              (std::vector<ScriptedUi::Box>{
                  {"Product Added", "Product " + id + " successfully added to Favorites"}}));
    FavoritesQuery favorites(buyer.name);
    ASSERT_TRUE(favorites.Run());
    EXPECT_EQ(favorites.GetProductid(), id);
}

// The offer goes out through the compose page of the Message Center window; A reads it. Its
// pages reach the marketplace from 127.0.0.1 (the web engine takes no chosen source address),
// and the marketplace serves messages only where the member is online: both log in from there.
TEST_F(WholeRoad, BsOfferReachesAsMessageCentre) {
    ASSERT_NE(row, nullptr);
    ASSERT_EQ(test::fromAddress("127.0.0.1", [&] { return loginRequest(buyer.name, "secret1"); }),
              kLoginOk);
    ui.onModal([](ModalDialog& dialog) {
        auto& contact = dynamic_cast<CContactDlg&>(dialog);
        findControl<QPushButton>(&contact, res::IDC_CONTACT_OFFER)->click();
        return kDialogOk;
    });
    findControl<QPushButton>(buttons, res::IDC_SL_BUY)->click();
    CMessageCenterDlg* compose = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<CMessageCenterDlg*>(top)) compose = found;
    ASSERT_NE(compose, nullptr);
    std::unique_ptr<CMessageCenterDlg> composeWindow(compose);
    QWebEngineView* page = compose->explorer().browser();
    const QString filled =
        "document.forms.length ? new URLSearchParams(new "
        "FormData(document.forms[0])).toString() : ''";
    ASSERT_TRUE(waitFor(page, filled,
                        "senderid=buyer1&recipientid=seller1&productid=" +
                            QString::fromStdString(id) + "&title=Tom+and+Jerry"));
    evaluate(page,
             "var f = document.forms[0]; f.body.value = 'Would you take 40?'; f.submit(); 'ok'");
    ASSERT_TRUE(waitForText(page, "was sent"));

    session().currentUserName = seller.name;
    ASSERT_EQ(test::fromAddress("127.0.0.1", [&] { return loginRequest(seller.name, "secret1"); }),
              kLoginOk);
    CTLMessageCenter inbox;
    inbox.resize(600, 400);
    inbox.show();
    EXPECT_TRUE(waitForText(inbox.explorer().browser(), "Would you take 40?"));
}

// A is gone: B gets the server's copy, without photos.
TEST_F(WholeRoad, OnceAIsGoneBGetsTheServersCopy) {
    ASSERT_NE(row, nullptr);
    sellerServer.reset();
    open();
    EXPECT_EQ(views, std::vector<View>{View::WebPane});
    std::string copy = home.read("downloads/" + id + ".xml");
    scrambleBytes(copy);
    XmlDocument document;
    ASSERT_TRUE(document.loadXml(copy));
    EXPECT_EQ(document.selectSingleNode("/product/titlebar").text(), "Tom and Jerry number 2");
    EXPECT_FALSE(document.selectSingleNode("//attach"));
    EXPECT_FALSE(std::filesystem::exists(home.path() + "downloads/" + id));
}

}  // namespace
}  // namespace tl
