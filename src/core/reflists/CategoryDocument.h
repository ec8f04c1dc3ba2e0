#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/XmlDocument.h"

namespace tl {

// The small XML reader behind the category picker and the club drop-downs: it loads the category
// file or the marketplace's club list and walks every element of it in document order.
class CategoryDocument {
public:
    // Loads the XML file at path. False when it is missing or not well-formed.
    bool LoadFile(const std::string& path);
    // Fetches the club list from the marketplace server, unwraps it and loads it. False when the
    // request fails or the unwrapped reply is not well-formed.
    bool LoadClubs();
    // Unwraps and loads a reply of the club service, as LoadClubs does with the one it fetches.
    bool LoadClubReply(const std::string& reply);

    // The number of elements of the loaded document.
    int Count() const { return static_cast<int>(elements_.size()); }
    // Makes the next element of the document the current one.
    void NextElement();
    // The current element's tag name, and its parent's (empty for the document element).
    std::string ElementName() const;
    std::string ParentName() const;

    // The texts of the club list's entries: every element after the first child of the first
    // "Clubs" element (that first child is the list's count, not a club), in document order.
    std::vector<std::string> ClubNames() const;

private:
    bool takeElements(bool loaded);

    XmlDocument document_;
    std::vector<XmlNode> elements_;
    std::size_t position_ = 0;
    XmlNode current_;
};

// The club names for a club drop-down, from a freshly fetched club list; nothing when the list
// could not be fetched or read. The advanced search, registration and profile forms share it.
std::optional<std::vector<std::string>> loadClubNames();

}  // namespace tl
