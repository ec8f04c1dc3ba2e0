#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/platform/XmlDocument.h"
#include "core/service/Endpoints.h"

namespace tl {

// Raised by a field reader when the listing lacks the element. Every listing the program builds
// carries all of them, so a missing one means the file is not a whole listing.
class MissingListingField : public std::runtime_error {
public:
    explicit MissingListingField(const std::string& element);
};

// The two price choices as a stored listing shows them, and the prices the forms send for them.
inline constexpr char kMakeOffer[] = "Make Offer";
inline constexpr char kFree[] = "Free";
inline constexpr char kMakeOfferPrice[] = "-1";
inline constexpr char kFreePrice[] = "0";

// The style-sheet instruction every listing document starts with: the marketplace server's
// listing style sheet renders it.
std::string styleSheetInstruction();

// The values a listing is built from, in the order the forms hand them over.
struct ListingValues {
    std::string title, description, quantity, shipping, zipcode, shippingpay, username, price,
        status, category1, category2, paymentterms, paymentmethods, escrow, readablemethods,
        hyperlink, card;
};

// One listing document ("product"): builds, saves, publishes and updates the member's own
// listings, opens own and downloaded listings, walks their attachment entries and reads their
// fields. Every file it writes is written whole and scrambled, as listings are kept at rest, and
// every file it opens is made plain in memory only (see StoredListing). Operations report 1 for
// done and 0 for failed.
class CProductXml {
public:
    // Builds the preview (quantity late, productid "Available when published") and saves
    // products/newproduct.xml, which the listing server does not hand out. 0 when it could not
    // be built or saved.
    int BuildPreview(const ListingValues& values);
    // Builds a listing and saves products/<productId>.xml; the object now holds that listing.
    // An empty id saves the draft of a listing not yet published (drafts/listing.xml), which
    // the listing server never hands out.
    int BuildAndSave(const std::string& productId, const ListingValues& values);
    // Builds a listing under productId in memory only: nothing is written until Update.
    int Build(const std::string& productId, const ListingValues& values);

    // Sends the built listing to the marketplace server as a new listing. The reply is the new
    // product id: the listing is saved as products/<id>.xml and the folder products/<id> made
    // for its attachments, both before the member is told. A reply that is not a product id is
    // a failed publish.
    int Publish();
    // Sends the listing built under productId (with the entries appended to it) as that
    // listing's new content. Only once the server has accepted it is the listing stored as
    // products/<id>.xml in place of the old one; a failed or refused update leaves the stored
    // listing as it was.
    int Update(const std::string& productId);

    // Appends an attachment entry (a name relative to the products folder, "/" as separator)
    // and saves the listing file, or the preview file.
    int AddAttachment(const std::string& entry);
    int AddPreviewAttachment(const std::string& entry);
    // Appends an attachment entry to the listing in memory only.
    int AppendAttachment(const std::string& entry);
    // Tells the server the listing's total attachment size (sent in whole kilobytes).
    int ReportFileSize(long long totalBytes);

    // Loads products/<id>.xml as it is stored (a file left plain is read as it is) and puts the
    // cursor before the first attachment entry; the file itself is only read.
    int OpenOwn(const std::string& productId);
    // The same for a downloaded listing's plain text; makes the folder downloads/<id> for its
    // attachments.
    int OpenDownloadedText(const std::string& productId, const std::string& plainXml);
    // Moves to the next attachment entry; 0 when there is none left.
    int NextAttachment();
    std::string AttachmentText() const;

    // The text of the listing's first element of that name; MissingListingField when it has none.
    std::string GetTitlebar() const;
    std::string GetDescription() const;
    std::string GetQuantity() const;
    std::string GetShipping() const;
    std::string GetZipcode() const;
    std::string GetShippingpay() const;
    std::string GetUsername() const;
    std::string GetCategory1() const;
    std::string GetCategory2() const;
    std::string GetPrice() const;
    std::string GetStatus() const;
    std::string GetPaymentterms() const;
    std::string GetPaymentmethods() const;
    std::string GetEscrow() const;
    std::string GetHyperlink() const;
    std::string GetCard() const;

    const std::string& productId() const { return productId_; }

private:
    using Elements = std::vector<std::pair<const char*, std::string>>;

    // Every build and open starts from a new document with no entries under the cursor.
    void freshDocument();
    // A fresh document holding only the style-sheet instruction and an empty product.
    bool startDocument();
    static Elements listingElements(const ListingValues& values, Elements first,
                                    const Elements& last);
    bool assemble(const Elements& elements, bool reportLoadFailure);
    int build(const Elements& elements, const std::string& path, bool reportLoadFailure);
    int buildDraft(const ListingValues& values);
    static Elements savedOrder(const ListingValues& values);
    // Writes the document scrambled to path, making its folder first.
    bool saveTo(const std::string& path);
    bool openText(const std::string& xml);
    int addAttachmentAndSave(const std::string& entry, const std::string& path);
    std::string fieldText(const char* element) const;
    endpoints::ListingFields requestFields() const;
    // A price of "-1" or "0" is stored as "Make Offer" or "Free", at the end of the listing.
    void rewriteOfferPrice();
    void withdrawUnstoredListing();

    std::string productId_;
    std::unique_ptr<XmlDocument> document_;
    XmlNode currentNode_;
    std::vector<XmlNode> attachList_;
    std::size_t cursor_ = 0;
};

}  // namespace tl
