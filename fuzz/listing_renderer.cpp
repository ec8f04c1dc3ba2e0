// The listing renderer: a listing from another member (scrambled or plain) shown with the
// marketplace's own style sheet.
#include "FuzzSupport.h"
#include "core/platform/Files.h"
#include "core/web/ListingRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tl;
    static const std::string styleSheet = readWholeFile(TRADELOOM_STYLE_SHEET).value_or("");
    fuzz::require(!styleSheet.empty(), "the style sheet " TRADELOOM_STYLE_SHEET " is missing");
    const ListingPage page =
        renderListing(fuzz::text(data, size), [](const std::string&) { return styleSheet; });
    fuzz::require(page.rendered || page.html.empty(), "a failed rendering that carries a page");
    fuzz::require(page.rendered || !page.failure.empty(), "a failed rendering without a reason");
    return 0;
}
