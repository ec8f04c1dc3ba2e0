#pragma once

#include <QWidget>
#include <string>

class QWebEngineView;

namespace tl {

// A browser placed inside another pane (the message centre uses one).
class CExplorer1 : public QWidget {
    Q_OBJECT
public:
    // Navigation flags, as callers pass them.
    static constexpr int kNoHistory = 2;
    static constexpr int kNoReadFromCache = 4;
    static constexpr int kNoWriteToCache = 8;

    explicit CExplorer1(QWidget* parent = nullptr);

    // Shows the address. Without history the page leaves no entry to go back to; without the
    // cache the request asks every cache on the way for a fresh reply and to keep none.
    void Navigate2(const std::string& address, int flags = 0);

    // The browser, created on first use (starting the browser engine is slow).
    QWebEngineView* browser();

private:
    QWebEngineView* browser_ = nullptr;
    bool forgetLoad_ = false;
};

}  // namespace tl
