#pragma once

#include <functional>
#include <string>

namespace tl {

// What the web pane shows for a listing document: the page its style sheet makes of it, or
// why there is none.
struct ListingPage {
    bool rendered = false;
    std::string html;     // the page, when rendered
    std::string failure;  // the reason, in the member's words, when not
};

// Fetches the text at an address; throws RequestError when it cannot.
using TextFetcher = std::function<std::string(const std::string& address)>;

// Renders a listing document as it is stored: scrambled at rest (it is unscrambled here, in
// memory) or already plain. The style sheet its xml-stylesheet instruction names is fetched
// from the marketplace server and applied; the style sheet may not read or write files or
// reach the network.
ListingPage renderListing(const std::string& storedBytes, const TextFetcher& fetch);

// The same for a listing file (one far larger than a listing is not read); the file itself is
// only read, never changed.
ListingPage renderListingFile(const std::string& path);

}  // namespace tl
