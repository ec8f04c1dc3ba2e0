#include "gui/listings/CView3.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

#include "core/listings/RememberedDefaults.h"
#include "core/session/Session.h"
#include "gui/widgets/Controls.h"
#include "ids_listings.h"

namespace tl {

CView3::CView3(QWidget* parent)
    : ListingForm({.templateId = res::IDD_VIEW3,
                   .descriptionId = res::IDC_ITEM_DESCRIPTION,
                   .quantityLimit = 10,
                   .selectCategory2Id = res::IDC_ITEM_SELECT_CATEGORY2,
                   .clearCategory2Id = 0,
                   .escrowNoneId = res::IDC_ITEM_ESCROW_NONE,
                   .category1Label = "Category",
                   .category2Label = "Category 2 (Optional)",
                   .shipUsCaption = "Will ship to United States only",
                   .makeOfferCaption = "Make Offer",
                   .attachCaption = "Attach Photos",
                   .removeCaption = "Remove Attach",
                   .filteredPrice = true},
                  parent) {
    setButtons(buildButtons());
}

QWidget* CView3::buildButtons() {
    auto* buttons = new QWidget;
    auto* line = new QHBoxLayout(buttons);
    const QLabel* addPicture = hiddenBitmap(buttons, res::IDC_ITEM_ADD_BITMAP, res::IDB_ITEM_ADD);
    QPushButton* add = pictureButton(buttons, res::IDC_ITEM_ADD, "Add Item", addPicture);
    connect(add, &QPushButton::clicked, this, &CView3::Add);
    line->addStretch();
    line->addWidget(add);
    // The template's own Add, Preview and Clear stay hidden: the pane beside the form has them.
    for (const auto& [id, caption] :
         {std::pair{res::ID_ITEM_ADD, "Add"}, std::pair{res::ID_ITEM_PREVIEW, "Preview"},
          std::pair{res::ID_ITEM_CLEAR, "Clear"}}) {
        auto* hidden = new QPushButton(caption, buttons);
        setControlId(hidden, id);
        hidden->hide();
    }
    return buttons;
}

void CView3::showEvent(QShowEvent* event) {
    FormPane::showEvent(event);
    if (!initialUpdateDone_) OnInitialUpdate();
}

void CView3::OnInitialUpdate() {
    initialUpdateDone_ = true;
    check(statusGroup_, res::IDC_ITEM_FORSALE);
    check(shippayGroup_, res::IDC_ITEM_BUYER_PAYS);
    check(shippingGroup_, res::IDC_ITEM_SHIP_US);
    check(escrowGroup_, res::IDC_ITEM_ESCROW_NONE);
    escrow_ = "none";

    const std::optional<RememberedDefaults> remembered =
        LoadRememberedDefaults(session().currentUserName);
    if (!remembered) return;
    card_ = remembered->card;
    shipping_ = remembered->shipping;
    shippingpay_ = remembered->shippingpay;
    escrow_ = remembered->escrow;
    hyperlink_->setText(QString::fromStdString(remembered->hyperlink));
    paymentMethods_ = remembered->paymentmethods;

    // The radios show what Add sends: Buyer and US for an empty choice, and no escrow (Add
    // asks for one).
    showChoice(shippayGroup_, shippingpay_, res::IDC_ITEM_BUYER_PAYS);
    showChoice(escrowGroup_, escrow_, 0);
    showPaymentMethods(paymentMethods_);
    showChoice(shippingGroup_, shipping_, res::IDC_ITEM_SHIP_US);
    cardBox_->setChecked(!card_.empty());
}

void CView3::clearItem() {
    category1_->clear();
    category2_->clear();
    title_->clear();
    quantity_->clear();
    zipcode_->clear();
    description_->clear();
    price_->clear();
    uncheckAll(offerGroup_);
    photos_->clear();
    // An empty kind goes out as "Selling", so For Sale is what the radios show.
    status_.clear();
    check(statusGroup_, res::IDC_ITEM_FORSALE);
}

void CView3::Clear() {
    check(shippayGroup_, res::IDC_ITEM_BUYER_PAYS);
    check(shippingGroup_, res::IDC_ITEM_SHIP_US);
    for (QCheckBox* box : paymentBoxes_) box->setChecked(false);
    cardBox_->setChecked(false);
    clearItem();
    hyperlink_->clear();
    shipping_.clear();
    shippingpay_.clear();
    paymentMethods_.clear();
    card_.clear();
}

}  // namespace tl
