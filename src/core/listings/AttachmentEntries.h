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

// The accepted attachment entries of a downloaded listing in document order, read from its
// stored (scrambled) bytes in memory; also makes the listing's attachment folder.
std::vector<std::string> downloadedAttachmentEntries(const std::string& productId,
                                                     std::string scrambledListing);

}  // namespace tl
