#include "core/listings/CProductXml.h"

#include <filesystem>

#include "core/listings/ListingPaths.h"
#include "core/listings/StoredListing.h"
#include "core/platform/Files.h"
#include "core/platform/HttpRequest.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/ServerHost.h"
#include "core/platform/Ui.h"
#include "core/service/Query.h"
#include "core/service/ServiceRequest.h"

namespace tl {
namespace {

constexpr char kPreviewProductId[] = "Available when published";
// The edit page's reply when it took the change; anything else ("-1" for a listing that is not
// the member's, an error page) is a refusal.
constexpr char kUpdateAccepted[] = "0";

void showLoadFailure() {
    ui().messageBox("Error", "LoadXML failed in Add Product");
}
void showSaveFailure() {
    ui().messageBox("Add Product Error", "Unable to Save Product");
}
int publishFailed() {
    ui().messageBox("Product Error", "The Product Did not Succesfully Add");
    return 0;
}
int updateFailed() {
    ui().messageBox("Error", "Product Update was Unsucessful");
    return 0;
}

}  // namespace

std::string styleSheetInstruction() {
    return R"(<?xml-stylesheet type="text/xsl" href="http://)" + serverHost() +
           endpoints::kStyleSheet + R"("?>)";
}

MissingListingField::MissingListingField(const std::string& element)
    : std::runtime_error("the listing has no " + element + " element") {}

void CProductXml::freshDocument() {
    document_ = std::make_unique<XmlDocument>();
    currentNode_ = {};
    attachList_.clear();
    cursor_ = 0;
}

bool CProductXml::startDocument() {
    freshDocument();
    return document_->loadXml(styleSheetInstruction() + "<product></product>");
}

// The listing's elements: the ones given first, then the run both element orders share, then
// the ones given last.
CProductXml::Elements CProductXml::listingElements(const ListingValues& v, Elements first,
                                                   const Elements& last) {
    Elements elements = std::move(first);
    static constexpr const char* kSharedNames[] = {
        "shippingpay", "zipcode",         "username",  "price",        "status",
        "shipping",    "category1",       "category2", "paymentterms", "paymentmethods",
        "escrow",      "readablemethods", "hyperlink", "card"};
    const std::string* const sharedValues[] = {
        &v.shippingpay, &v.zipcode,         &v.username,  &v.price,        &v.status,
        &v.shipping,    &v.category1,       &v.category2, &v.paymentterms, &v.paymentmethods,
        &v.escrow,      &v.readablemethods, &v.hyperlink, &v.card};
    static_assert(std::size(kSharedNames) == std::size(sharedValues));
    for (std::size_t i = 0; i < std::size(kSharedNames); ++i)
        elements.emplace_back(kSharedNames[i], *sharedValues[i]);
    elements.insert(elements.end(), last.begin(), last.end());
    return elements;
}

int CProductXml::BuildPreview(const ListingValues& v) {
    return build(
        listingElements(
            v, {{"titlebar", v.title}, {"description", v.description}},
            {{"quantity", v.quantity}, {"productid", kPreviewProductId}, {"attachment", ""}}),
        previewListingPath(), false);
}

CProductXml::Elements CProductXml::savedOrder(const ListingValues& v) {
    return listingElements(
        v, {{"titlebar", v.title}, {"description", v.description}, {"quantity", v.quantity}},
        {{"attachment", ""}});
}

int CProductXml::BuildAndSave(const std::string& productId, const ListingValues& v) {
    if (productId.empty()) return buildDraft(v);
    // The id names the file; one from outside must not lead out of the products folder.
    if (!isSafeRelativeName(productId)) {
        showSaveFailure();
        return 0;
    }
    productId_ = productId;
    return build(savedOrder(v), ownListingPath(productId), true);
}

int CProductXml::buildDraft(const ListingValues& v) {
    productId_.clear();
    // The listing is stored in the products folder once published: a folder that cannot be
    // made stops it before it is sent.
    if (!createDirectories(productsDirectory())) {
        showSaveFailure();
        return 0;
    }
    if (!build(savedOrder(v), draftListingPath(), true)) return 0;
    // Earlier versions left the draft plain in the products folder, where peers could ask for it.
    std::error_code ignored;
    std::filesystem::remove(ownListingPath(""), ignored);
    return 1;
}

int CProductXml::Build(const std::string& productId, const ListingValues& v) {
    if (!isSafeRelativeName(productId)) {
        showSaveFailure();
        return 0;
    }
    productId_ = productId;
    return assemble(savedOrder(v), true) ? 1 : 0;
}

bool CProductXml::assemble(const Elements& elements, bool reportLoadFailure) {
    if (!startDocument()) {
        if (reportLoadFailure) showLoadFailure();
        return false;
    }
    XmlNode root = document_->documentElement();
    for (const auto& [name, value] : elements) currentNode_ = root.appendElement(name, value);
    return true;
}

int CProductXml::build(const Elements& elements, const std::string& path, bool reportLoadFailure) {
    if (!assemble(elements, reportLoadFailure)) return 0;
    if (!saveTo(path)) {
        showSaveFailure();
        return 0;
    }
    return 1;
}

bool CProductXml::saveTo(const std::string& path) {
    return document_ && createDirectories(std::filesystem::path(path).parent_path()) &&
           writeStoredListing(path, document_->xml());
}

int CProductXml::Publish() {
    std::string reply;
    try {
        reply = requestText(endpoints::newProduct(requestFields()));
    } catch (const RequestError&) {
        return publishFailed();
    } catch (const MissingListingField&) {
        return publishFailed();
    }
    // The reply names the listing file and its folder: only a product id may do that.
    if (!isProductId(reply)) return publishFailed();
    productId_ = reply;
    currentNode_ = document_->documentElement().appendElement("productid", productId_);
    rewriteOfferPrice();
    // Stored whole and scrambled before the member is told: a crash from here on leaves the
    // listing as it is kept at rest.
    if (!saveTo(ownListingPath(productId_)) ||
        !createDirectories(ownAttachmentFolder(productId_))) {
        withdrawUnstoredListing();
        return publishFailed();
    }
    ui().messageBox("Product Added",
                    "Item #" + productId_ + " was succefully add to your sharable directory.");
    return 1;
}

// A listing the marketplace took but this computer could not store would be found by others and
// never served: it is taken back, quietly, and the member is told the publish failed.
void CProductXml::withdrawUnstoredListing() {
    try {
        requestText(endpoints::remove(productId_), Credentials::None);
    } catch (const RequestError&) {
        // The marketplace copy stays; nothing more can be done from here.
    }
    productId_.clear();
}

int CProductXml::Update(const std::string& productId) {
    if (!document_ || !document_->documentElement() || !isSafeRelativeName(productId))
        return updateFailed();
    productId_ = productId;
    currentNode_ = document_->documentElement().appendElement("productid", productId);
    try {
        if (requestText(endpoints::editProduct(requestFields(), productId)) != kUpdateAccepted)
            return updateFailed();
    } catch (const RequestError&) {
        return updateFailed();
    } catch (const MissingListingField&) {
        return updateFailed();
    }
    rewriteOfferPrice();
    return saveTo(ownListingPath(productId_)) ? 1 : updateFailed();
}

void CProductXml::rewriteOfferPrice() {
    const std::string price = cleanQueryText(fieldText("price"));
    if (price != kMakeOfferPrice && price != kFreePrice) return;
    XmlNode root = document_->documentElement();
    for (const XmlNode& child : root.childNodes()) {
        if (child.name() == "price") {
            root.removeChild(child);
            break;
        }
    }
    currentNode_ = root.appendElement("price", price == kMakeOfferPrice ? kMakeOffer : kFree);
}

int CProductXml::AddAttachment(const std::string& entry) {
    // A listing without an id has not been published: it is still the draft.
    return addAttachmentAndSave(
        entry, productId_.empty() ? draftListingPath() : ownListingPath(productId_));
}

int CProductXml::AddPreviewAttachment(const std::string& entry) {
    return addAttachmentAndSave(entry, previewListingPath());
}

int CProductXml::AppendAttachment(const std::string& entry) {
    // Other members ask for the entry by name, and downloads are stored under it.
    if (!document_ || !isSafeRelativeName(entry)) return 0;
    XmlNode attachment = document_->documentElement().selectSingleNode("attachment");
    if (!attachment) return 0;
    currentNode_ = attachment.appendElement("attach", entry);
    return 1;
}

int CProductXml::addAttachmentAndSave(const std::string& entry, const std::string& path) {
    return AppendAttachment(entry) && saveTo(path) ? 1 : 0;
}

int CProductXml::ReportFileSize(long long totalBytes) {
    return sendNotificationOrReport(endpoints::addFileSize(productId_, totalBytes / 1024));
}

bool CProductXml::openText(const std::string& xml) {
    freshDocument();
    if (!document_->loadXml(xml)) return false;
    attachList_ = document_->elementsByTagName("attach");
    return true;
}

int CProductXml::OpenOwn(const std::string& productId) {
    if (!isSafeRelativeName(productId)) return 0;
    // A file that cannot be read opens as no document at all.
    if (!openText(readStoredListing(ownListingPath(productId)).value_or(""))) return 0;
    productId_ = productId;
    return 1;
}

int CProductXml::OpenDownloadedText(const std::string& productId, const std::string& plainXml) {
    if (!isSafeRelativeName(productId) || !openText(plainXml)) return 0;
    productId_ = productId;
    // The listing's attachments are stored under its id as their entries name them.
    createDirectories(downloadedAttachmentFolder(productId_));
    return 1;
}

int CProductXml::NextAttachment() {
    if (cursor_ >= attachList_.size()) return 0;
    currentNode_ = attachList_[cursor_++];
    return 1;
}

std::string CProductXml::AttachmentText() const {
    return currentNode_.text();
}

std::string CProductXml::fieldText(const char* element) const {
    XmlNode root = document_ ? document_->documentElement() : XmlNode();
    XmlNode field = root ? root.selectSingleNode(element) : XmlNode();
    if (!field) throw MissingListingField(element);
    return field.text();
}

endpoints::ListingFields CProductXml::requestFields() const {
    return {.titlebar = GetTitlebar(),
            .description = GetDescription(),
            .shipping = GetShipping(),
            .zipcode = GetZipcode(),
            .quantity = GetQuantity(),
            .shippingpay = GetShippingpay(),
            .username = GetUsername(),
            .category1 = GetCategory1(),
            .category2 = GetCategory2(),
            .status = GetStatus(),
            .paymentterms = GetPaymentterms(),
            .paymentmethods = GetPaymentmethods(),
            .escrow = GetEscrow(),
            .price = GetPrice()};
}

std::string CProductXml::GetTitlebar() const {
    return fieldText("titlebar");
}
std::string CProductXml::GetDescription() const {
    return fieldText("description");
}
std::string CProductXml::GetQuantity() const {
    return fieldText("quantity");
}
std::string CProductXml::GetShipping() const {
    return fieldText("shipping");
}
std::string CProductXml::GetZipcode() const {
    return fieldText("zipcode");
}
std::string CProductXml::GetShippingpay() const {
    return fieldText("shippingpay");
}
std::string CProductXml::GetUsername() const {
    return fieldText("username");
}
std::string CProductXml::GetCategory1() const {
    return fieldText("category1");
}
std::string CProductXml::GetCategory2() const {
    return fieldText("category2");
}
std::string CProductXml::GetPrice() const {
    return fieldText("price");
}
std::string CProductXml::GetStatus() const {
    return fieldText("status");
}
std::string CProductXml::GetPaymentterms() const {
    return fieldText("paymentterms");
}
std::string CProductXml::GetPaymentmethods() const {
    return fieldText("paymentmethods");
}
std::string CProductXml::GetEscrow() const {
    return fieldText("escrow");
}
std::string CProductXml::GetHyperlink() const {
    return fieldText("hyperlink");
}
std::string CProductXml::GetCard() const {
    return fieldText("card");
}

}  // namespace tl
