// The commands of the new-listing form that build a listing: Add and Preview.

#include <QCheckBox>
#include <QLineEdit>

#include "core/listings/CProductXml.h"
#include "core/listings/ListingChecks.h"
#include "core/listings/ListingPaths.h"
#include "core/listings/PhotoFiles.h"
#include "core/listings/RememberedDefaults.h"
#include "core/platform/Files.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Ui.h"
#include "core/session/Session.h"
#include "gui/listings/CView3.h"
#include "gui/listings/ListingFilesSending.h"

namespace tl {

void CView3::Add() {
    readPaymentBoxes();
    ListingValues values = formValues();
    if (values.price == kMakeOffer)
        values.price = kMakeOfferPrice;
    else if (values.price == kFree)
        values.price = kFreePrice;

    if (!checkAndComplete(values, kBlankEscrowCaption)) return;

    // Every photo is checked before anything is published, so a listing never goes out with
    // an attachment that is not there.
    const std::vector<std::string> photos = addedPhotos();
    if (!photosUsable(photos)) return;

    CProductXml listing;
    if (!listing.BuildAndSave("", values)) return;
    // A listing the server did not take gets no attachments and is not shown; the form keeps
    // what the member typed so it can be sent again.
    if (!listing.Publish()) return;
    const std::string& id = listing.productId();
    // The card goes with the listing only when its file is there to be fetched.
    if (!card_.empty() && fileExists(productsDirectory() + card_)) listing.AddAttachment(card_);
    const std::optional<long long> totalBytes = copyPhotosInto(
        photos, id, [&listing](const std::string& entry) { return listing.AddAttachment(entry); });
    sendListingFilesInBackground(id, this);
    if (!totalBytes) return;
    listing.ReportFileSize(*totalBytes);
    showListing(ownListingPath(id));
    clearAfterAdd(values.hyperlink);
}

void CView3::clearAfterAdd(const std::string& hyperlink) {
    clearItem();
    hyperlink_->setText(QString::fromStdString(hyperlink));
    SaveRememberedDefaults(session().currentUserName, {.shippingpay = shippingpay_,
                                                       .shipping = shipping_,
                                                       .paymentmethods = paymentMethods_,
                                                       .escrow = escrow_,
                                                       .hyperlink = hyperlink,
                                                       .card = card_});
    readableMethods_.clear();
}

void CView3::Preview() {
    fillEmptyChoices();
    // The preview shows the payment methods ticked now, as the listing would.
    readPaymentBoxes();
    ListingValues values = formValues();
    values.hyperlink = linkWithScheme(values.hyperlink);
    const std::vector<std::string> photos = addedPhotos();
    if (!photosUsable(photos)) return;

    CProductXml preview;
    if (!preview.BuildPreview(values)) return;
    card_ = cardBox_->isChecked() ? values.username + "_card" : std::string();
    createDirectories(productsTempDirectory());
    const std::optional<long long> copied = copyPhotosInto(
        photos, kPreviewPhotoFolder,
        [&preview](const std::string& entry) { return preview.AddPreviewAttachment(entry); });
    if (!copied) return;
    showListing(previewListingPath());
}

}  // namespace tl
