#include "gui/web/CExplorer1.h"

#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineHttpRequest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "core/web/WebAddress.h"
#include "gui/web/BrowserEngine.h"

namespace tl {

CExplorer1::CExplorer1(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

QWebEngineView* CExplorer1::browser() {
    if (browser_ == nullptr) {
        browser_ = new QWebEngineView(this);
        browser_->setPage(new QWebEnginePage(browserProfile(), browser_));
        layout()->addWidget(browser_);
        connect(browser_, &QWebEngineView::loadFinished, this, [this] {
            if (!forgetLoad_) return;
            forgetLoad_ = false;
            browser_->history()->clear();
        });
    }
    return browser_;
}

void CExplorer1::Navigate2(const std::string& address, int flags) {
    QWebEngineHttpRequest request(QUrl(QString::fromStdString(browsableAddress(address))));
    if ((flags & (kNoReadFromCache | kNoWriteToCache)) != 0) {
        request.setHeader("Cache-Control", "no-cache, no-store");
        request.setHeader("Pragma", "no-cache");
    }
    forgetLoad_ = (flags & kNoHistory) != 0;
    browser()->load(request);
}

}  // namespace tl
