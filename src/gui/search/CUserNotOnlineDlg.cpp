#include "gui/search/CUserNotOnlineDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/platform/Ui.h"
#include "core/session/Session.h"
#include "gui/messaging/CMessageCenterDlg.h"
#include "gui/session/ListSelection.h"
#include "gui/widgets/Controls.h"
#include "ids_search.h"

namespace tl {

CUserNotOnlineDlg::CUserNotOnlineDlg(std::string poster, std::string productId, QWidget* parent)
    : TemplateDialog(res::IDD_USERNOTONLINE, "User Not Online", parent),
      poster_(std::move(poster)),
      productId_(std::move(productId)) {
    auto* text =
        new QLabel(QString::fromStdString(poster_ + " is not online, so Item #" + productId_ +
                                          " cannot be fetched from their computer or added to your "
                                          "Favorites now. You can leave " +
                                          poster_ + " a message about it instead."),
                   this);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    setControlId(text, res::IDC_USERNOTONLINE_TEXT);
    QPushButton* offer = idButton(this, res::IDC_USERNOTONLINE_OFFER, "Make Offer/Ask Question");
    offer->setDefault(true);
    QPushButton* close = idButton(this, res::IDC_USERNOTONLINE_CLOSE, "Close");
    connect(offer, &QPushButton::clicked, this, &CUserNotOnlineDlg::onMakeOffer);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(offer);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

void CUserNotOnlineDlg::onMakeOffer() {
    CMessageCenterDlg::openCompose(poster_, productId_);
    accept();
}

void CUserNotOnlineDlg::tellPosterOffline(const std::string& productId) {
    if (productId.empty()) {
        ui().messageBox("Can't Add Favorites with User Offline", "User Not Online");
        return;
    }
    CUserNotOnlineDlg dialog(listSelection().selectedSellerName, productId);
    ui().runModal(dialog);
}

}  // namespace tl
