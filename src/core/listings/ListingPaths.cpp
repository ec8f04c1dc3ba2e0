#include "core/listings/ListingPaths.h"

#include <algorithm>
#include <cctype>

#include "core/platform/ProgramDirectory.h"

namespace tl {

std::string ownListingPath(const std::string& productId) {
    return productsDirectory() + productId + ".xml";
}

std::string ownAttachmentFolder(const std::string& productId) {
    return productsDirectory() + productId;
}

std::string previewListingPath() {
    return productsDirectory() + "newproduct.xml";
}

std::string draftListingPath() {
    return draftsDirectory() + "listing.xml";
}

std::string downloadedListingPath(const std::string& productId) {
    return downloadsDirectory() + productId + ".xml";
}

std::string downloadedAttachmentFolder(const std::string& productId) {
    return downloadsDirectory() + productId;
}

std::string rememberedDefaultsId(const std::string& userName) {
    return userName + "Remembered";
}

bool isProductId(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isXmlFileName(std::string_view fileName) {
    constexpr std::string_view kExtension = ".xml";
    return fileName.size() >= kExtension.size() &&
           std::equal(
               kExtension.begin(), kExtension.end(), fileName.end() - kExtension.size(),
               [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

bool isListingFileName(std::string_view fileName) {
    constexpr std::string_view kExtension = ".xml";
    return fileName.ends_with(kExtension) &&
           isProductId(fileName.substr(0, fileName.size() - kExtension.size()));
}

}  // namespace tl
