#pragma once

#include <string>
#include <vector>

namespace tl {

// True for an attachment entry that a fetched listing may name: "<product id>/<file name>" for a
// photo of that listing, or a bare file name for the business card. Entries come from the
// seller, and the attachment is stored under the name they give, so anything else (parent
// steps, absolute paths, drive letters, empty parts, backslashes, another listing's folder, a
// card named like a listing document) is refused.
bool isAcceptedAttachmentEntry(const std::string& productId, const std::string& entry);

// The attachment entries of a downloaded listing that it may name, in document order: a photo
// "<product id>/<file name>" of that listing, or the bare file name of the business card (never
// one named like a listing document). Entries come from the seller and attachments are stored
// under the names they give, so any other entry is left out. Read from the listing's stored
// bytes in memory; also makes the listing's attachment folder.
std::vector<std::string> downloadedAttachmentEntries(const std::string& productId,
                                                     const std::string& storedListing);

}  // namespace tl
