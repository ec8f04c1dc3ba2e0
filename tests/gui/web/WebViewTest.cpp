#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <memory>

#include "core/listings/FileScramble.h"
#include "core/peer/ListingDownload.h"
#include "core/platform/Files.h"
#include "core/platform/ServerHost.h"
#include "core/platform/Sha256.h"
#include "core/session/Session.h"
#include "gui/messaging/CMessageCenterDlg.h"
#include "gui/messaging/CTLMessageCenter.h"
#include "gui/web/BrowserEngine.h"
#include "gui/web/CExplorer1.h"
#include "gui/web/CWebView.h"
#include "support/FakeSeller.h"
#include "support/SampleStyleSheet.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

constexpr int kLoadTimeoutMs = 30000;

const std::string& kStyleSheet = test::kSampleStyleSheet;

// Waits for the next finished load of the browser.
bool waitForLoad(QSignalSpy& loads) {
    const int before = loads.count();
    return QTest::qWaitFor([&] { return loads.count() > before; }, kLoadTimeoutMs);
}

// Runs a script in the page and waits for its result.
QVariant evaluate(QWebEngineView* browser, const QString& script) {
    auto result = std::make_shared<std::optional<QVariant>>();
    browser->page()->runJavaScript(script, [result](const QVariant& value) { *result = value; });
    if (!QTest::qWaitFor([&] { return result->has_value(); }, kLoadTimeoutMs)) return {};
    return result->value();
}

QString bodyText(QWebEngineView* browser) {
    return evaluate(browser, "document.body ? document.body.innerText : ''").toString();
}

struct WebViewTest : ::testing::Test {
    test::TempProgramDirectory home;
    test::ScriptedHttpServer server;
    ScriptedUi ui;

    WebViewTest() {
        setServerHost(server.host());
        session() = Session{};
        session().currentUserName = "ann";
        server.reply("/tradeloom/product.xsl", kStyleSheet, "text/xml");
        server.reply("/tradeloom/app/home.asp", "<html><body>Welcome home</body></html>",
                     "text/html");
        server.replyOtherwise("Marketplace");
    }
    ~WebViewTest() override { setServerHost(""); }

    // Stores a listing as the program keeps it: scrambled.
    std::string storeListing(const std::string& name, const std::string& plain) const {
        std::string bytes = plain;
        scrambleBytes(bytes);
        home.write("products/" + name, bytes);
        return home.path() + "products/" + name;
    }
    std::string listing(const std::string& styleSheetPath, const std::string& title) const {
        return "<?xml-stylesheet type=\"text/xsl\" href=\"http://" + server.host() +
               styleSheetPath + "\"?><product><titlebar>" + title +
               "</titlebar><attachment><attach>photo.png</attach></attachment></product>";
    }
    bool requested(const std::string& target) const {
        const std::vector<std::string> targets = server.targets();
        return std::find(targets.begin(), targets.end(), target) != targets.end();
    }
};

TEST_F(WebViewTest, AScrambledListingIsShownThroughItsStyleSheetAndStaysScrambled) {
    const std::string path = storeListing("7.xml", listing("/tradeloom/product.xsl", "Red bike"));
    QImage photo(8, 6, QImage::Format_RGB32);
    photo.fill(Qt::red);
    ASSERT_TRUE(photo.save(QString::fromStdString(home.path() + "products/photo.png")));
    const std::string stored = home.read("products/7.xml");

    session().webAddress = path;
    CWebView view;
    view.resize(600, 400);
    QSignalSpy loads(view.browser(), &QWebEngineView::loadFinished);
    view.show();
    ASSERT_TRUE(waitForLoad(loads));
    EXPECT_TRUE(loads.last().at(0).toBool());
    EXPECT_TRUE(bodyText(view.browser()).contains("Title: Red bike"));
    EXPECT_TRUE(requested("/tradeloom/product.xsl"));
    // The photo comes from the listing's own folder.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return evaluate(view.browser(), "document.images[0].naturalWidth").toInt() == 8; },
        kLoadTimeoutMs));
    EXPECT_EQ(home.read("products/7.xml"), stored);

    // Shown again, the pane loads the listing again; the file still stays as it was.
    view.hide();
    view.show();
    ASSERT_TRUE(waitForLoad(loads));
    EXPECT_EQ(home.read("products/7.xml"), stored);
}

TEST_F(WebViewTest, AListingReachedInsideTheBrowserIsRenderedToo) {
    const std::string path = storeListing("7.xml", listing("/tradeloom/product.xsl", "Red bike"));
    const std::string stored = home.read("products/7.xml");
    CWebView view;
    QSignalSpy loads(view.browser(), &QWebEngineView::loadFinished);
    view.browser()->load(QUrl::fromLocalFile(QString::fromStdString(path)));
    ASSERT_TRUE(waitForLoad(loads));
    EXPECT_TRUE(bodyText(view.browser()).contains("Title: Red bike"));
    EXPECT_EQ(home.read("products/7.xml"), stored);
}

TEST_F(WebViewTest, PrintingTheChosenPrinterWritesThePage) {
    const std::string pdf = home.path() + "page.pdf";
    ui.onModal([&pdf](ModalDialog& modal) {
        auto& dialog = dynamic_cast<QPrintDialog&>(modal);
        dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog.printer()->setOutputFileName(QString::fromStdString(pdf));
        return kDialogOk;
    });
    CWebView view;
    QSignalSpy loads(view.browser(), &QWebEngineView::loadFinished);
    view.show();
    ASSERT_TRUE(waitForLoad(loads));
    QSignalSpy printed(view.browser(), &QWebEngineView::printFinished);
    view.print();
    ASSERT_TRUE(printed.wait(kLoadTimeoutMs));
    EXPECT_TRUE(printed.first().at(0).toBool());
    EXPECT_TRUE(home.exists("page.pdf"));
}

TEST_F(WebViewTest, AListingThatCannotBeRenderedShowsWhyInThePane) {
    const std::string noSheet = storeListing("8.xml", listing("/tradeloom/missing.xsl", "Lamp"));
    const std::string broken = storeListing("9.xml", "<product><titlebar>Lamp");
    CWebView view;
    QSignalSpy loads(view.browser(), &QWebEngineView::loadFinished);
    session().webAddress = noSheet;
    view.show();
    ASSERT_TRUE(waitForLoad(loads));
    EXPECT_TRUE(bodyText(view.browser()).contains("style sheet"));

    view.navigate(broken);
    ASSERT_TRUE(waitForLoad(loads));
    EXPECT_TRUE(bodyText(view.browser()).contains("The listing is damaged"));
    view.navigate(home.path() + "products/10.xml");
    ASSERT_TRUE(waitForLoad(loads));
    EXPECT_TRUE(bodyText(view.browser()).contains("could not be opened"));
}

TEST_F(WebViewTest, ShowsTheHomePageFirstAndTheWebAddressOnEveryShowing) {
    CWebView view;
    QSignalSpy loads(view.browser(), &QWebEngineView::loadFinished);
    view.show();
    ASSERT_TRUE(waitForLoad(loads));
    EXPECT_TRUE(requested("/tradeloom/app/home.asp?username=ann"));
    EXPECT_TRUE(bodyText(view.browser()).contains("Welcome home"));

    // No web address: the page stays.
    const int loaded = loads.count();
    view.hide();
    view.show();
    EXPECT_FALSE(QTest::qWaitFor([&] { return loads.count() > loaded; }, 1000));
    const std::vector<std::string> targets = server.targets();
    EXPECT_EQ(std::count(targets.begin(), targets.end(), "/tradeloom/app/home.asp?username=ann"),
              1);

    // The menu's bare host still reaches the server over http.
    view.hide();
    session().webAddress = server.host();
    view.show();
    ASSERT_TRUE(waitForLoad(loads));
    EXPECT_TRUE(requested("/"));
    EXPECT_EQ(view.browser()->url().scheme(), "http");
    EXPECT_TRUE(bodyText(view.browser()).contains("Marketplace"));
}

TEST_F(WebViewTest, ExplorerNavigationsLeaveNoHistory) {
    CExplorer1 explorer;
    explorer.resize(400, 300);
    explorer.show();
    QSignalSpy loads(explorer.browser(), &QWebEngineView::loadFinished);
    explorer.Navigate2(
        "http://" + server.host() + "/tradeloom/app/message/messagesNew.asp?username=ann", 14);
    ASSERT_TRUE(waitForLoad(loads));
    explorer.Navigate2("http://" + server.host() + "/tradeloom/other", 14);
    ASSERT_TRUE(waitForLoad(loads));
    EXPECT_TRUE(requested("/tradeloom/app/message/messagesNew.asp?username=ann"));
    EXPECT_FALSE(explorer.browser()->history()->canGoBack());

    explorer.Navigate2("http://" + server.host() + "/tradeloom/third", 0);
    ASSERT_TRUE(waitForLoad(loads));
    EXPECT_TRUE(explorer.browser()->history()->canGoBack());
}

TEST_F(WebViewTest, ADownloadedListingSaysAboveItWhetherItCameFromTheSellerOrTheMarketplaceCopy) {
    std::string sellers = listing("/tradeloom/product.xsl", "Red bike");
    scrambleBytes(sellers);
    test::FakeSeller seller(test::serveFiles({{"41.xml", sellers}}));
    const int nobody = test::deadPort();
    server.reply(
        "/RUViviride/RUViviride.asmx/GetItem",
        R"(<?xml version="1.0" encoding="utf-8"?><string xmlns="http://x/">&lt;Product&gt;)"
        "&lt;titlebar&gt;Lamp&lt;/titlebar&gt;&lt;price&gt;5&lt;/price&gt;"
        "&lt;paymentmethods&gt;M&lt;/paymentmethods&gt;&lt;/Product&gt;</string>",
        "text/xml");
    const std::string own = storeListing("43.xml", listing("/tradeloom/product.xsl", "Own"));
    // The marketplace keeps the files of listing 44 alone.
    std::string kept = listing("/tradeloom/product.xsl", "Kept bike");
    scrambleBytes(kept);
    server.handle("/tradeloom/app/listingfiles.asp", [kept](const auto& request) {
        if (request.target.find("productid=44") == std::string::npos)
            return std::string("<results/>");
        return "<results><product><name>44.xml</name><size>" + std::to_string(kept.size()) +
               "</size><sha256>" + sha256Hex(kept) + "</sha256></product></results>";
    });
    server.reply("/tradeloom/app/getlistingfile.asp", kept, "application/octet-stream");
    struct Case {
        const char* id;
        int port;  // 0: not downloaded, the member's own listing
        const char* origin;
        const char* title;
    };
    const Case cases[] = {
        {"41", seller.port(), "Opened from the seller's computer", "Title: Red bike"},
        {"42", nobody,
         "Opened from the marketplace copy: the seller could not be reached, so the photos are "
         "not available",
         "Title: Lamp"},
        {"43", 0, "", "Title: Own"},
        {"44", nobody,
         "Opened from the marketplace copy, with its photos: the seller's computer could not be "
         "reached or did not send the listing as the marketplace keeps it",
         "Title: Kept bike"},
    };
    CWebView view;
    view.show();
    QSignalSpy loads(view.browser(), &QWebEngineView::loadFinished);
    ASSERT_TRUE(waitForLoad(loads));  // the home page of the first showing
    auto* origin = view.findChild<QLabel*>("listingOrigin");
    ASSERT_NE(origin, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        std::string path = own;
        if (c.port != 0) {
            DownloadSettings settings;
            settings.port = c.port;
            settings.localAddress.clear();
            const std::string stored = home.path() + "downloads/" + c.id + ".xml";
            ASSERT_EQ(downloadListing({c.id, "127.0.0.1"}, settings).listingPath, stored);
            path = stored;
        }
        const std::string before = readWholeFile(path).value_or("");
        view.navigate(path);
        ASSERT_TRUE(waitForLoad(loads));
        EXPECT_EQ(origin->text(), c.origin);
        EXPECT_EQ(origin->isHidden(), std::string(c.origin).empty());
        // The line is the pane's own: the page and the stored file stay as they were.
        EXPECT_TRUE(bodyText(view.browser()).contains(c.title));
        EXPECT_FALSE(bodyText(view.browser()).contains("Opened from"));
        EXPECT_EQ(readWholeFile(path), before);
        // The line is one line of text; the page fills the rest of the pane at any size.
        for (const QSize size : {QSize(800, 600), QSize(420, 260), QSize(1200, 900)}) {
            view.resize(size);
            QTest::qWait(20);
            const int line = origin->isHidden() ? 0 : origin->height();
            EXPECT_LE(line, 2 * origin->fontMetrics().height()) << size.height();
            EXPECT_GE(view.browser()->height(), size.height() - line - 8) << size.height();
        }
    }
    // Any other page goes without the line.
    view.navigate("http://" + server.host() + "/tradeloom");
    ASSERT_TRUE(waitForLoad(loads));
    EXPECT_TRUE(origin->isHidden());
}

// Starting a browser costs memory in the program and in the engine's helpers: a pane makes its
// browser when first shown, never before, and all of them share the one bounded profile.
TEST_F(WebViewTest, EveryPaneMakesItsBrowserWhenFirstShownOnTheOneSharedProfile) {
    CWebView web;
    CTLMessageCenter messages;
    CMessageCenterDlg window("http://" + server.host() + "/tradeloom/compose");
    QWidget* const panes[] = {&web, &messages, &window};
    for (QWidget* pane : panes) {
        pane->resize(400, 300);
        EXPECT_TRUE(pane->findChildren<QWebEngineView*>().isEmpty())
            << pane->metaObject()->className();
    }
    for (QWidget* pane : panes) {
        SCOPED_TRACE(pane->metaObject()->className());
        pane->show();
        const QList<QWebEngineView*> browsers = pane->findChildren<QWebEngineView*>();
        ASSERT_EQ(browsers.size(), 1);
        EXPECT_EQ(browsers.first()->page()->profile(), browserProfile());
    }
    QWebEngineProfile* shared = browserProfile();
    EXPECT_EQ(shared->httpCacheType(), QWebEngineProfile::MemoryHttpCache);
    EXPECT_GT(shared->httpCacheMaximumSize(), 0);  // 0 would leave the size to the engine
    EXPECT_EQ(shared->persistentCookiesPolicy(), QWebEngineProfile::NoPersistentCookies);
}

// One renderer for all pages; without the sandbox no template processes, which the engine
// needs (and refuses to start without) while the sandbox is on. What the member gave is kept.
TEST(BrowserEngineFlagsTest, AddsWhatKeepsTheHelpersFewAndKeepsWhatWasGiven) {
    struct Case {
        const char* given;
        bool sandboxDisabled;
        const char* flags;
    };
    const Case cases[] = {
        {"", false, "--renderer-process-limit=1"},
        {"", true, "--renderer-process-limit=1 --no-zygote"},
        {"--disable-gpu", false, "--disable-gpu --renderer-process-limit=1"},
        {"--no-sandbox", false, "--no-sandbox --renderer-process-limit=1 --no-zygote"},
        {"--renderer-process-limit=3 --no-zygote", true, "--renderer-process-limit=3 --no-zygote"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(browserEngineFlags(c.given, c.sandboxDisabled), QByteArray(c.flags))
            << c.given << " " << c.sandboxDisabled;
}

}  // namespace
}  // namespace tl
