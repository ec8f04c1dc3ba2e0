#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QPushButton>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <filesystem>
#include <memory>
#include <optional>

#include "MarketTestServer.h"
#include "core/listings/CProductXml.h"
#include "core/listings/FileScramble.h"
#include "core/peer/CServerThread.h"
#include "core/search/ResultQueries.h"
#include "core/session/Login.h"
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
#include "support/SampleListing.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

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

// Member A (seller1) serves from 127.0.0.2, member B (buyer1) works from 127.0.0.3. B finds A's
// listing, opens it from A's computer with its photos, keeps it as a favourite and makes an
// offer; A reads the offer in the message centre. Once A is gone, B gets the server's copy.
TEST(WholeRoad, BFindsOpensFavouritesAndContactsAThenGetsTheServersCopy) {
    test::TempProgramDirectory home;
    test::MarketTestServer market;
    test::ScopedSessionValues values;
    ScriptedUi ui;
    ASSERT_EQ(test::registerMember("seller1"), "0");
    ASSERT_EQ(test::registerMember("buyer1"), "0");
    std::optional<test::ScopedEnv> bind;
    bind.emplace("TRADELOOM_BIND", "127.0.0.2");
    ASSERT_EQ(loginRequest("seller1", "secret1"), kLoginOk);

    ListingValues listingValues = test::chairListing();
    listingValues.username = "seller1";
    CProductXml listing;
    ASSERT_EQ(listing.BuildAndSave("", listingValues), 1);
    ASSERT_EQ(listing.Publish(), 1);
    const std::string id = listing.productId();
    std::vector<std::string> photos;
    for (int photo = 1; photo <= 2; ++photo) {
        const std::string entry = id + "/photo" + std::to_string(photo) + ".jpg";
        home.write("products/" + entry, std::string(4000 * photo, static_cast<char>(photo)));
        ASSERT_EQ(listing.AddAttachment(entry), 1);
        photos.push_back(entry);
    }
    ASSERT_EQ(ToggleFileScramble(home.path() + "products/" + id + ".xml"), 1);
    CServerThread::Settings sellerSettings;
    sellerSettings.port = 0;
    sellerSettings.bindAddress = "127.0.0.2";
    auto seller = std::make_unique<CServerThread>(sellerSettings);
    ASSERT_TRUE(seller->start());

    bind.emplace("TRADELOOM_BIND", "127.0.0.3");
    ASSERT_EQ(loginRequest("buyer1", "secret1"), kLoginOk);
    session().currentUserName = "buyer1";
    DownloadSettings settings;
    settings.port = seller->port();
    settings.connectTimeout = std::chrono::milliseconds(1000);
    test::ScopedItemActions actions(
        [&](const std::string& productId, const std::string& address) {
            ui.onModal([](ModalDialog& dialog) { return dialog.runModalLoop(); });
            return !downloadListing(productId, address, settings).empty();
        },
        &CContactDlg::showForSelection);
    std::vector<int> views;
    test::ScopedViewSwitcher frame([&](int view) { views.push_back(view); });
    QWidget window;
    auto* buttons = new CSearchLeft(&window);
    auto* results = new CQSearch(&window);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(buttons);
    layout->addWidget(results);
    pendingSearch() = {1, "Tom and Jerry", "BOTH"};
    window.show();
    ASSERT_EQ(results->list().topLevelItemCount(), 1);
    QTreeWidgetItem* row = results->list().topLevelItem(0);
    EXPECT_EQ(row->text(kAddressColumn).toStdString(), "127.0.0.2");
    results->list().setCurrentItem(row);
    ui.clear();

    // Opened from A's computer: the photos arrive as A has them.
    emit results->list().itemDoubleClicked(row, 0);
    EXPECT_EQ(views, std::vector<int>{4});
    EXPECT_EQ(session().webAddress, home.path() + "downloads/" + id + ".xml");
    for (const std::string& entry : photos)
        EXPECT_EQ(home.read("downloads/" + entry), home.read("products/" + entry)) << entry;

    findControl<QPushButton>(buttons, res::IDC_SL_ADDFAVORITE)->click();
    EXPECT_EQ(ui.boxes(),
              (std::vector<ScriptedUi::Box>{
                  {"Product Added", "Product " + id + " successfully added to Favorites"}}));
    FavoritesQuery favorites("buyer1");
    ASSERT_TRUE(favorites.Run());
    EXPECT_EQ(favorites.GetProductid(), id);

    // The offer goes out through the compose page of the Message Center window.
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

    session().currentUserName = "seller1";
    CTLMessageCenter inbox;
    inbox.resize(600, 400);
    inbox.show();
    EXPECT_TRUE(waitForText(inbox.explorer().browser(), "Would you take 40?"));
    session().currentUserName = "buyer1";

    // A is gone: the server's copy, without photos.
    seller.reset();
    std::filesystem::remove_all(home.path() + "downloads");
    views.clear();
    emit results->list().itemDoubleClicked(row, 0);
    EXPECT_EQ(views, std::vector<int>{4});
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
