#include "gui/search/CContactDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/listings/COfflineItem.h"
#include "core/platform/Ui.h"
#include "core/session/Session.h"
#include "gui/messaging/CMessageCenterDlg.h"
#include "gui/session/ListSelection.h"
#include "gui/widgets/Controls.h"
#include "ids_search.h"

namespace tl {
namespace {

constexpr int kContactInfoLimit = 100;

}  // namespace

CContactDlg::CContactDlg(QWidget* parent)
    : TemplateDialog(res::IDD_CONTACT, "Buy", parent), poster_(listSelection().selectedSellerName) {
    const std::string& productId = listSelection().selectedProductId;
    setWindowTitle(QString::fromStdString("Contact " + poster_ + " about Item #" + productId));
    // An unknown listing comes back as an empty item: the box stays empty.
    COfflineItem item(productId);
    if (item.Load() > 0) contactInfo_ = item.contact();

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Contact Info", this), 0, 0, 1, 4);
    auto* info = new QLineEdit(this);
    setControlId(info, res::IDC_CONTACT_INFO);
    info->setMaxLength(kContactInfoLimit);
    info->setReadOnly(true);
    info->setText(QString::fromStdString(contactInfo_));
    layout->addWidget(info, 1, 0, 1, 4);
    QPushButton* chat = idButton(this, res::IDC_CONTACT_CHAT, "Chat Now");
    QPushButton* ask = idButton(this, res::IDC_CONTACT_ASK, "Ask Question");
    QPushButton* offer = idButton(this, res::IDC_CONTACT_OFFER, "Make Offer");
    QPushButton* close = idButton(this, res::IDC_CONTACT_CLOSE, "Close");
    ask->hide();
    layout->addWidget(chat, 2, 0);
    layout->addWidget(ask, 2, 1);
    layout->addWidget(offer, 2, 2);
    layout->addWidget(close, 2, 3);
    connect(chat, &QPushButton::clicked, this, &CContactDlg::onChatNow);
    connect(offer, &QPushButton::clicked, this, &CContactDlg::onMakeOffer);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CContactDlg::onChatNow() {
    ui().messageBox("Disabled", "Feature Not In Service at this time", MessageButtons::Ok,
                    MessageIcon::Information);
    reject();
}

void CContactDlg::onMakeOffer() {
    CMessageCenterDlg::openCompose(poster_, listSelection().selectedProductId);
    accept();
}

void CContactDlg::showForSelection() {
    CContactDlg dialog;
    ui().runModal(dialog);
}

}  // namespace tl
