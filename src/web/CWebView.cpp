#include "web/CWebView.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QWebEngineView>

#include "app/Session.h"
#include "platform/Ui.h"
#include "service/Endpoints.h"
#include "web/ListingRenderer.h"
#include "web/WebAddress.h"

namespace tl {
namespace {

// The print dialog, run through the Ui seam.
class PrintDialog : public QPrintDialog, public ModalDialog {
public:
    PrintDialog(QPrinter* printer, QWidget* parent) : QPrintDialog(printer, parent) {}
    int runModalLoop() override { return exec() == QDialog::Accepted ? kDialogOk : kDialogCancel; }
};

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

QString messagePage(const std::string& text) {
    return QStringLiteral("<html><body><p>%1</p></body></html>")
        .arg(QString::fromStdString(text).toHtmlEscaped());
}

// The listing's own folder, so that the photos it names load from beside it.
QUrl folderOf(const std::string& path) {
    const QUrl file = QUrl::fromLocalFile(QString::fromStdString(path));
    return file.resolved(QUrl("."));
}

}  // namespace

CWebView::CWebView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

CWebView::~CWebView() = default;

QWebEngineView* CWebView::browser() {
    if (browser_ == nullptr) {
        browser_ = new QWebEngineView(this);
        layout()->addWidget(browser_);
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
    browser()->load(QUrl(QString::fromStdString(browsableAddress(address))));
}

void CWebView::showListing(const std::string& path) {
    ListingPage page;
    {
        WaitCursor wait;
        page = renderListingFile(path);
    }
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
