#include "gui/listings/CProdEditView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include <filesystem>
#include <utility>

#include "core/listings/CProductXml.h"
#include "core/listings/ListingChecks.h"
#include "core/listings/ListingPaths.h"
#include "core/listings/PaymentMethods.h"
#include "core/listings/PhotoFiles.h"
#include "core/platform/Files.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Ui.h"
#include "core/service/MarketContract.h"
#include "gui/listings/ListingFilesSending.h"
#include "gui/session/ListSelection.h"
#include "gui/widgets/Controls.h"
#include "ids_listings.h"

namespace tl {
namespace {

// The caption of the boxes that carry none of their own.
constexpr char kProgramCaption[] = "Tradeloom";

long long fileSize(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<long long>(size);
}

}  // namespace

CProdEditView::CProdEditView(QWidget* parent)
    : ListingForm({.templateId = res::IDD_PRODEDITVIEW,
                   .descriptionId = res::IDC_EDIT_DESCRIPTION,
                   .quantityLimit = 5,
                   .selectCategory2Id = res::IDC_EDIT_SELECT_CATEGORY2,
                   .clearCategory2Id = res::IDC_EDIT_CLEAR_CATEGORY2,
                   .escrowNoneId = res::IDC_EDIT_ESCROW_NONE,
                   .category1Label = "Category 1",
                   .category2Label = "Category 2",
                   .shipUsCaption = "Will ship to United States ",
                   .makeOfferCaption = "MakeOffer",
                   .attachCaption = "Attach Photo(s)",
                   .removeCaption = "Remove Photo",
                   .filteredPrice = false},
                  parent) {
    setButtons(buildButtons());
}

QWidget* CProdEditView::buildButtons() {
    auto* buttons = new QWidget;
    auto* line = new QHBoxLayout(buttons);
    reactivate_ = new QCheckBox("Reactivate", buttons);
    setControlId(reactivate_, res::IDC_EDIT_REACTIVATE);
    reactivate_->setEnabled(false);
    line->addWidget(reactivate_);
    line->addStretch();
    QPushButton* preview = idButton(buttons, res::IDC_EDIT_PREVIEW, "Preview Changes");
    connect(preview, &QPushButton::clicked, this, &CProdEditView::Preview);
    line->addWidget(preview);
    QPushButton* submit = idButton(buttons, res::IDC_EDIT_SUBMIT, "Submit And Activate");
    connect(submit, &QPushButton::clicked, this, &CProdEditView::Submit);
    line->addWidget(submit);
    QPushButton* reactivateItem =
        idButton(buttons, res::IDC_EDIT_REACTIVATE_ITEM, "Reactivate Item");
    connect(reactivateItem, &QPushButton::clicked, this, &CProdEditView::Submit);
    reactivateItem->hide();
    QRadioButton* paypal =
        radio(escrowGroup_, res::IDC_EDIT_ESCROW_PAYPAL, "PayPal", &escrow_, "PayPal");
    paypal->setParent(buttons);
    paypal->hide();
    return buttons;
}

void CProdEditView::showEvent(QShowEvent* event) {
    ListingForm::showEvent(event);
    // The window coming back from being minimised is no new Edit.
    if (event->spontaneous()) return;
    // Back from the form's own preview the member finds their edits; any other showing is an
    // Edit on the my-listings screen and loads the listing afresh.
    const bool backFromPreview =
        std::exchange(leftForPreview_, false) && listSelection().selectedListingId == editedId_;
    if (!backFromPreview && !listSelection().selectedListingId.empty()) Load();
}

void CProdEditView::Load() {
    photos_->clear();
    editedId_.clear();
    const std::string id = listSelection().selectedListingId;
    // The stored listing is read in memory, so the file stays scrambled whatever happens.
    CProductXml listing;
    bool loaded = listing.OpenOwn(id);
    try {
        if (loaded) showStored(listing);
    } catch (const MissingListingField&) {
        loaded = false;
    }
    if (!loaded) {
        ui().messageBox("ERROR", "LoadList Failed To Load:" + id);
        return;
    }
    editedId_ = id;
}

void CProdEditView::showStored(CProductXml& listing) {
    ListingValues stored;
    stored.title = listing.GetTitlebar();
    stored.description = listing.GetDescription();
    stored.quantity = listing.GetQuantity();
    stored.shipping = listing.GetShipping();
    stored.zipcode = listing.GetZipcode();
    stored.shippingpay = listing.GetShippingpay();
    stored.price = listing.GetPrice();
    stored.status = listing.GetStatus();
    stored.category1 = listing.GetCategory1();
    stored.category2 = listing.GetCategory2();
    stored.paymentmethods = listing.GetPaymentmethods();
    stored.escrow = listing.GetEscrow();
    stored.hyperlink = listing.GetHyperlink();
    stored.card = listing.GetCard();
    while (listing.NextAttachment()) addStoredEntry(listing.AttachmentText());

    if (stored.price == kFree || stored.price == kFreePrice) {
        stored.price = kFree;
        check(offerGroup_, res::IDC_ITEM_FREE);
    } else if (stored.price == kMakeOffer || stored.price == kMakeOfferPrice) {
        stored.price = kMakeOffer;
        check(offerGroup_, res::IDC_ITEM_MAKE_OFFER);
    } else {
        uncheckAll(offerGroup_);
    }
    showStoredTexts(stored);

    // The radios show what Submit sends (an unknown choice goes out as the new-listing form
    // sends an empty one), and no escrow when the stored one is unknown (Submit asks for one).
    status_ = stored.status;
    shippingpay_ = stored.shippingpay;
    shipping_ = stored.shipping;
    escrow_ = stored.escrow;
    showChoice(statusGroup_, status_, res::IDC_ITEM_FORSALE);
    showChoice(shippayGroup_, shippingpay_, res::IDC_ITEM_BUYER_PAYS);
    showChoice(shippingGroup_, shipping_, res::IDC_ITEM_SHIP_US);
    showChoice(escrowGroup_, escrow_, 0);
    showPaymentMethods(stored.paymentmethods);
    readPaymentBoxes();

    card_ = storedCard_ = stored.card;
    cardBox_->setChecked(!card_.empty());
    if (status_ == contract::kSelling) reactivate_->setChecked(false);
}

bool CProdEditView::listingLoaded() const {
    if (!editedId_.empty()) return true;
    ui().messageBox(kProgramCaption, "No Item Currently Selected");
    return false;
}

long long CProdEditView::appendStoredEntries(CProductXml& listing) const {
    long long total = 0;
    auto append = [&](const std::string& entry) {
        const std::string path = joinStoredName(productsDirectory(), entry);
        // An entry whose file is gone could not be fetched by anyone.
        if (fileExists(path) && listing.AppendAttachment(entry)) total += fileSize(path);
    };
    // The box decides the card: the stored card's entry goes, the member's card comes first.
    if (!card_.empty()) append(card_);
    for (const std::string& entry : storedEntries())
        if (entry != storedCard_ && entry != card_) append(entry);
    return total;
}

void CProdEditView::Submit() {
    if (!listingLoaded()) return;
    // The payment methods are the boxes ticked now.
    readPaymentBoxes();
    ListingValues values = formValues();
    if (!checkAndComplete(values, kNoEscrowCaption)) return;
    if (values.price == kFree)
        values.price = kFreePrice;
    else if (values.price == kMakeOffer)
        values.price = kMakeOfferPrice;

    // A new photo may not take the name of a file stored with the listing.
    const std::vector<std::string> photos = addedPhotos();
    if (!photosUsable(photos, editedId_)) return;

    // The new listing is built aside and replaces the stored one only once the server has
    // taken the change; until then the stored listing stays as it was.
    CProductXml listing;
    if (!listing.Build(editedId_, values)) return;
    const long long storedBytes = appendStoredEntries(listing);
    createDirectories(ownAttachmentFolder(editedId_));
    const std::optional<long long> addedBytes = copyPhotosInto(
        photos, editedId_,
        [&listing](const std::string& entry) { return listing.AppendAttachment(entry); });
    if (!addedBytes || !listing.Update(editedId_)) {
        removePhotoCopies(photos, editedId_);
        return;
    }
    listing.ReportFileSize(storedBytes + *addedBytes);
    sendListingFilesInBackground(editedId_, this);
    showListing(ownListingPath(editedId_));
    ui().messageBox("Operation Complete", "Product " + editedId_ + " succesfully Updated");
}

void CProdEditView::Preview() {
    if (!listingLoaded()) return;
    fillEmptyChoices();
    readPaymentBoxes();
    ListingValues values = formValues();
    values.card = cardBox_->isChecked() ? values.username + "_card" : std::string();
    values.hyperlink = linkWithScheme(values.hyperlink);
    CProductXml stored;
    if (!stored.OpenOwn(editedId_)) {
        ui().messageBox(kProgramCaption, "LoadList Failed");
        return;
    }
    const std::vector<std::string> photos = addedPhotos();
    if (!photosUsable(photos)) return;

    CProductXml preview;
    if (!preview.BuildPreview(values)) return;
    for (const std::string& entry : storedEntries())
        if (fileExists(joinStoredName(productsDirectory(), entry)))
            preview.AddPreviewAttachment(entry);
    createDirectories(productsTempDirectory());
    const std::optional<long long> copied = copyPhotosInto(
        photos, kPreviewPhotoFolder,
        [&preview](const std::string& entry) { return preview.AddPreviewAttachment(entry); });
    if (!copied) return;
    leftForPreview_ = true;
    showListing(previewListingPath());
}

}  // namespace tl
