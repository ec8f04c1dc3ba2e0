// The string-wrapped replies: the marketplace's copy of a listing (read as two documents and
// stored) and the plain unwrapping of the other wrapped replies.
#include "FuzzSupport.h"
#include "core/listings/ServerCopy.h"
#include "core/platform/XmlDocument.h"
#include "core/service/Replies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tl;
    const std::string reply = fuzz::text(data, size);
    unwrapStringDocument(reply, "127.0.0.1:8080");
    const std::optional<std::string> listing = listingFromServerReply(reply);
    if (!listing) return 0;
    // What is stored must read back as a listing, or the member is left with a broken file.
    XmlDocument stored;
    fuzz::require(stored.loadXml(*listing), "a stored server copy that is not well-formed");
    fuzz::require(stored.documentElement().name() == "product", "a stored copy without product");
    fuzz::require(stored.elementsByTagName("readablemethods").size() == 1,
                  "a stored copy without exactly one readablemethods");
    return 0;
}
