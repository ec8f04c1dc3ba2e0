#pragma once

#include <string>
#include <string_view>

namespace tl {

// Where listing documents live. The member's own listings are products/<id>.xml with their
// attachments under products/<id>/; fetched listings are downloads/<id>.xml and downloads/<id>/.
std::string ownListingPath(const std::string& productId);
std::string ownAttachmentFolder(const std::string& productId);
std::string previewListingPath();  // products/newproduct.xml
// The last listing the member sent for publishing, kept outside the products folder.
std::string draftListingPath();  // drafts/listing.xml
// The folder under products/ that holds the copies of a preview's photos.
inline constexpr char kPreviewPhotoFolder[] = "temp";
std::string downloadedListingPath(const std::string& productId);
std::string downloadedAttachmentFolder(const std::string& productId);

// The id under which a member's remembered listing defaults are stored.
std::string rememberedDefaultsId(const std::string& userName);

// True for a product id as the marketplace server assigns them: decimal digits only.
bool isProductId(std::string_view text);

// True for a file name ending in ".xml" in any case: the name of a document, not of a photo or
// a card.
bool isXmlFileName(std::string_view fileName);

// True for the file name of a listing document in the products folder: "<product id>.xml".
// The folder's other documents (the preview, remembered defaults) have other names.
bool isListingFileName(std::string_view fileName);

}  // namespace tl
