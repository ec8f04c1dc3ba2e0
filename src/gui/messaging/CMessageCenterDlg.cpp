#include "gui/messaging/CMessageCenterDlg.h"

#include <QVBoxLayout>

#include "core/service/Endpoints.h"
#include "core/session/Session.h"
#include "gui/session/ListSelection.h"
#include "gui/web/CExplorer1.h"
#include "gui/widgets/Controls.h"
#include "gui/widgets/WindowPlacement.h"
#include "ids_messaging.h"

namespace tl {
namespace {

// Room for the whole compose form of the marketplace (its fields are at most 600 pixels wide,
// the form with its heading about 500 high) without scrolling.
constexpr QSize kWantedSize(720, 600);

}  // namespace

CMessageCenterDlg::CMessageCenterDlg(std::string address)
    : QWidget(nullptr, Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      address_(std::move(address)),
      explorer_(new CExplorer1(this)) {
    setTemplateId(this, res::IDD_MESSAGECENTERDLG);
    setWindowTitle("Message Center");
    setControlId(explorer_, res::IDC_MESSAGE_BROWSER);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(explorer_);
    placeInsideScreen(*this, kWantedSize);
}

CMessageCenterDlg* CMessageCenterDlg::open(const std::string& address) {
    auto* window = new CMessageCenterDlg(address);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

CMessageCenterDlg* CMessageCenterDlg::openCompose(const std::string& poster,
                                                  const std::string& productId) {
    const Session& values = session();
    const ListSelection& chosen = listSelection();
    return open(endpoints::composeMessage(values.currentUserName, poster, productId,
                                          chosen.selectedItemTitle)
                    .address());
}

void CMessageCenterDlg::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (navigated_) return;
    navigated_ = true;
    explorer_->Navigate2(address_);
}

}  // namespace tl
