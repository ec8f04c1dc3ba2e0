#pragma once

#include <string>

#include "core/platform/XmlDocument.h"

namespace tl {

// What the marketplace server tells about a listing whose seller is not reachable: its item
// number, title, description and the seller's contact.
class COfflineItem {
public:
    explicit COfflineItem(std::string productId) : productId_(std::move(productId)) {}

    // Asks the server; non-zero when a reply came and was read as a document.
    int Load();

    // The text of the reply's first element of that name; empty when the reply has none (the
    // server answers "<item/>" for an id it does not know).
    std::string contact() const { return childText("contact"); }
    std::string description() const { return childText("description"); }
    std::string itemno() const { return childText("itemno"); }
    std::string titlebar() const { return childText("titlebar"); }

private:
    std::string childText(const char* name) const;

    std::string productId_;
    XmlDocument document_;
};

}  // namespace tl
