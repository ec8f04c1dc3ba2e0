#pragma once

#include <QWidget>
#include <memory>
#include <string>

class QLabel;
class QPrinter;
class QWebEngineView;

namespace tl {

// The web pane of the work area. It shows the member's home page when first displayed and,
// each time it is shown again, the process-wide web address when one is set. A local listing
// file is shown through its style sheet; the file stays scrambled on disk throughout. Above a
// downloaded listing a line says where it came from: the seller or the marketplace copy.
class CWebView : public QWidget {
    Q_OBJECT
public:
    explicit CWebView(QWidget* parent = nullptr);
    ~CWebView() override;

    void navigate(const std::string& address);
    // Asks the member for a printer with the print dialog, then prints the page.
    void print();

    // The browser, created on first use: starting the browser engine is slow, so a pane that
    // is never shown never starts it.
    QWebEngineView* browser();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showListing(const std::string& path);

    QLabel* origin_;
    QWebEngineView* browser_ = nullptr;
    bool initialUpdateDone_ = false;
    std::unique_ptr<QPrinter> printer_;  // kept until the browser has finished printing
};

}  // namespace tl
