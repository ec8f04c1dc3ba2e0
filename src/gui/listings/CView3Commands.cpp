// The commands of the new-listing form that build a listing: Add and Preview.

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include <exception>
#include <set>

#include "core/listings/CProductXml.h"
#include "core/listings/ListingPaths.h"
#include "core/listings/PhotoFiles.h"
#include "core/listings/RememberedDefaults.h"
#include "core/platform/Files.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Ui.h"
#include "core/reflists/WordFilter.h"
#include "core/session/FileScramble.h"
#include "core/session/Navigation.h"
#include "core/session/Session.h"
#include "gui/listings/CView3.h"
#include "gui/widgets/CPriceEdit.h"
#include "ids_listings.h"

namespace tl {
namespace {

constexpr char kHyperlinkScheme[] = "http://";
constexpr char kPreviewFolder[] = "temp";

std::string linkWithScheme(const std::string& link) {
    return link.starts_with(kHyperlinkScheme) ? link : kHyperlinkScheme + link;
}

void setDefault(std::string& value, const char* whenEmpty) {
    if (value.empty()) value = whenEmpty;
}

}  // namespace

ListingValues CView3::formValues() const {
    ListingValues v;
    v.title = title_->text().toStdString();
    v.description = description_->toPlainText().toStdString();
    v.quantity = quantity_->text().toStdString();
    v.zipcode = zipcode_->text().toStdString();
    v.price = price_->text().toStdString();
    v.category1 = category1_->text().toStdString();
    v.category2 = category2_->text().toStdString();
    v.hyperlink = hyperlink_->text().toStdString();
    v.shipping = shipping_;
    v.shippingpay = shippingpay_;
    v.status = status_;
    v.paymentmethods = paymentMethods_;
    v.escrow = escrow_;
    v.readablemethods = readableMethods_;
    v.card = card_;
    v.username = session().currentUserName;
    return v;
}

std::vector<std::string> CView3::photoPaths() const {
    std::vector<std::string> paths;
    for (int row = 0; row < photos_->count(); ++row)
        paths.push_back(photos_->item(row)->text().toStdString());
    return paths;
}

bool CView3::requiredFieldsGiven(const ListingValues& v) const {
    struct Rule {
        const std::string& value;
        const char* text;
        const char* caption;
    };
    const Rule rules[] = {
        {v.title, "Please Enter an Item Title", "Error: Blank Item Title Bar"},
        {v.description, "Please Enter an Item Desctiption", "Error: Blank Item Description"},
        {v.zipcode, "Please Enter your Zip Code", "Error: Blank Zip Code"},
        {v.paymentmethods, "Please Enter a Payment Method", "Error: Blank Payment Method"},
        {v.quantity, "Please Enter a Quantity", "Error: Blank Quantity"},
        {v.category1, "Please Select a Category", "Error: Blank Category"},
        {v.escrow, "Please Enter Escrow Informations", "Error: Blank Escrow Field"},
        {v.price, "Please Enter Price", "Error: Blank Price"},
    };
    bool allGiven = true;
    for (const Rule& rule : rules) {
        if (!rule.value.empty()) continue;
        ui().messageBox(rule.caption, rule.text);
        allGiven = false;
    }
    return allGiven;
}

bool CView3::titleAllowed(const std::string& title) const {
    WordFilter filter;
    try {
        // A word list that could not be read leaves the title unchecked.
        if (!filter.Load()) return true;
        while (filter.HasNext()) filter.Next();
    } catch (const std::exception&) {
        ui().messageBox("Tradeloom", "Loading Filter Failed");
        return true;
    }
    return filter.Check(title) == 1;
}

bool CView3::photosUsable(const std::vector<std::string>& photos) const {
    std::set<std::string> names;
    for (const std::string& path : photos) {
        if (!isReadablePhoto(path)) {
            ui().messageBox(kPhotoCaption, photoNotReadText(path));
            return false;
        }
        // Photos are stored by file name: a second one of the same name would replace the first.
        if (!names.insert(photoFileName(path)).second) {
            ui().messageBox(kPhotoCaption, photoNameTakenText(photoFileName(path)));
            return false;
        }
    }
    return true;
}

long long CView3::attachPhotos(CProductXml& listing, const std::string& folder, bool preview) {
    long long total = 0;
    for (const std::string& path : photoPaths()) {
        const std::string name = photoFileName(path);
        // The entry is added only once its file is in place, so no entry names a missing file.
        const std::optional<long long> copied =
            copyPhoto(path, productsDirectory() + folder + "/" + name);
        if (!copied) {
            ui().messageBox(kPhotoCaption, photoNotCopiedText(path));
            return -1;
        }
        total += *copied;
        const std::string entry = folder + "/" + name;
        if (preview)
            listing.AddPreviewAttachment(entry);
        else
            listing.AddAttachment(entry);
    }
    return total;
}

void CView3::showListing(const std::string& path) {
    session().webAddress = path;
    // The listing is kept scrambled at rest; the web pane makes it plain while it loads it.
    ToggleFileScramble(path);
    switchMainView(View::WebPane);
}

void CView3::Add() {
    readPaymentBoxes();
    ListingValues values = formValues();
    if (values.price == kMakeOffer)
        values.price = kMakeOfferPrice;
    else if (values.price == kFree)
        values.price = kFreePrice;

    if (!requiredFieldsGiven(values)) return;
    if (!titleAllowed(values.title)) {
        title_->setText("censored");
        ui().messageBox("Error", "This word is not allowed in Title Bar");
        return;
    }

    setDefault(shippingpay_, "Buyer");
    setDefault(status_, "Selling");
    setDefault(shipping_, "US");
    card_ = cardBox_->isChecked() ? session().cardFileName : std::string();
    values.shippingpay = shippingpay_;
    values.status = status_;
    values.shipping = shipping_;
    values.card = card_;
    values.hyperlink = linkWithScheme(values.hyperlink);

    // Every photo is checked before anything is published, so a listing never goes out with
    // an attachment that is not there.
    const std::vector<std::string> photos = photoPaths();
    if (!photosUsable(photos)) return;

    CProductXml listing;
    if (!listing.BuildAndSave("", values)) return;
    // A listing the server did not take gets no attachments and is not shown; the form keeps
    // what the member typed so it can be sent again.
    if (!listing.Publish()) return;
    const std::string& id = listing.productId();
    // The card goes with the listing only when its file is there to be fetched.
    if (!card_.empty() && fileExists(productsDirectory() + card_)) listing.AddAttachment(card_);
    const long long totalBytes = attachPhotos(listing, id, false);
    if (totalBytes < 0) {
        // The listing file stays in its at-rest form like every other.
        ToggleFileScramble(ownListingPath(id));
        return;
    }
    listing.ReportFileSize(totalBytes);
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
    setDefault(shippingpay_, "Buyer");
    setDefault(status_, "Selling");
    setDefault(shipping_, "US");
    // The preview shows the payment methods ticked now, as the listing would.
    readPaymentBoxes();
    ListingValues values = formValues();
    values.hyperlink = linkWithScheme(values.hyperlink);
    if (!photosUsable(photoPaths())) return;

    CProductXml preview;
    if (!preview.BuildPreview(values)) return;
    card_ = cardBox_->isChecked() ? values.username + "_card" : std::string();
    createDirectories(productsTempDirectory());
    if (attachPhotos(preview, kPreviewFolder, true) < 0) return;
    showListing(previewListingPath());
}

}  // namespace tl
