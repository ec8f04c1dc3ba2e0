#include "gui/web/CWebView.h"

#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "core/peer/ListingOrigin.h"
#include "core/platform/Ui.h"
#include "core/service/Endpoints.h"
#include "core/session/Session.h"
#include "core/web/ListingRenderer.h"
#include "core/web/WebAddress.h"
#include "gui/web/BrowserEngine.h"
#include "gui/widgets/Controls.h"
#include "gui/widgets/TemplateDialog.h"

namespace tl {
namespace {

// The browser shows a page handed over in memory only up to about 2 MB.
constexpr std::size_t kLargestShownPage = 1500000;

// The print dialog, run through the Ui seam.
class PrintDialog : public QPrintDialog, public ModalDialog {
public:
    PrintDialog(QPrinter* printer, QWidget* parent) : QPrintDialog(printer, parent) {}
    int runModalLoop() override { return modalEndCode(*this); }
};

QString messagePage(const std::string& text) {
    return QStringLiteral("<html><body><p>%1</p></body></html>")
        .arg(QString::fromStdString(text).toHtmlEscaped());
}

// The line above a listing; empty for a listing that was not downloaded in this run.
QString originText(const std::string& path) {
    const std::optional<ListingOrigin> origin = listingOrigin(path);
    if (!origin) return {};
    if (*origin == ListingOrigin::Seller)
        return QStringLiteral("Opened from the seller's computer");
    if (*origin == ListingOrigin::MarketplaceKept)
        return QStringLiteral(
            "Opened from the marketplace copy, with its photos: the seller's computer could not "
            "be reached or did not send the listing as the marketplace keeps it");
    return QStringLiteral(
        "Opened from the marketplace copy: the seller could not be reached, so the photos are "
        "not available");
}

// The listing's own folder, so that the photos it names load from beside it.
QUrl folderOf(const std::string& path) {
    const QUrl file = QUrl::fromLocalFile(QString::fromStdString(path));
    return file.resolved(QUrl("."));
}

// The page of the web pane: a local listing the browser is sent to by any other way (a link,
// an address typed into a page) goes through the listing renderer too, never raw from disk.
class WebPanePage : public QWebEnginePage {
public:
    WebPanePage(CWebView* pane, QObject* parent)
        : QWebEnginePage(browserProfile(), parent), pane_(pane) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        if (!isMainFrame || !url.isLocalFile()) return true;
        const std::string path = url.toLocalFile().toStdString();
        if (!localListingPath(path)) return true;
        QTimer::singleShot(0, pane_, [pane = pane_, path] { pane->navigate(path); });
        return false;
    }

private:
    CWebView* pane_;
};

}  // namespace

CWebView::CWebView(QWidget* parent) : QWidget(parent), origin_(new QLabel(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    origin_->setObjectName(QStringLiteral("listingOrigin"));
    origin_->setTextFormat(Qt::PlainText);
    origin_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    origin_->hide();
    layout->addWidget(origin_);
}

CWebView::~CWebView() = default;

QWebEngineView* CWebView::browser() {
    if (browser_ == nullptr) {
        browser_ = new QWebEngineView(this);
        browser_->setPage(new WebPanePage(this, browser_));
        static_cast<QVBoxLayout*>(layout())->addWidget(browser_, 1);  // the page takes the rest
        connect(browser_, &QWebEngineView::printFinished, this, [this] { printer_.reset(); });
    }
    return browser_;
}

void CWebView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;  // the window restored, not the pane shown
    const std::string& address = session().webAddress;
    if (!initialUpdateDone_) {
        initialUpdateDone_ = true;
        if (address.empty())
            return navigate(endpoints::homePage(session().currentUserName).address());
    }
    if (!address.empty()) navigate(address);
}

void CWebView::navigate(const std::string& address) {
    if (const std::optional<std::string> listing = localListingPath(address))
        return showListing(*listing);
    origin_->hide();
    browser()->load(QUrl(QString::fromStdString(browsableAddress(address))));
}

void CWebView::showListing(const std::string& path) {
    origin_->setText(originText(path));
    origin_->setVisible(!origin_->text().isEmpty());
    ListingPage page;
    {
        WaitCursor wait;
        page = renderListingFile(path);
    }
    if (page.rendered && page.html.size() > kLargestShownPage)
        page = ListingPage{false, {}, "The listing is too large to show."};
    if (page.rendered)
        browser()->setHtml(QString::fromStdString(page.html), folderOf(path));
    else
        browser()->setHtml(messagePage(page.failure));
}

void CWebView::print() {
    if (printer_) return;  // the last page is still being printed
    auto printer = std::make_unique<QPrinter>();
    PrintDialog dialog(printer.get(), this);
    if (ui().runModal(dialog) != kDialogOk) return;
    printer_ = std::move(printer);
    browser()->print(printer_.get());
}

}  // namespace tl
