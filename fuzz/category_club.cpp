// The category and club reader: a club service reply unwrapped into the club names, and the
// same bytes as a category file built into the picker's tree.
#include <algorithm>

#include "FuzzSupport.h"
#include "core/reflists/CategoryDocument.h"
#include "core/reflists/CategoryTree.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tl;
    const std::string input = fuzz::text(data, size);
    CategoryDocument clubs;
    if (clubs.LoadClubReply(input)) clubs.ClubNames();

    CategoryTree tree;
    tree.build(fuzz::writeHomeFile("categories.xml", input));
    const std::vector<CategoryTree::Item>& items = tree.items();
    for (std::size_t i = 1; i < items.size(); ++i) {
        const int parent = items[i].parent;
        fuzz::require(parent >= 0 && static_cast<std::size_t>(parent) < i,
                      "a category placed under an item that does not come before it");
        const std::vector<int>& siblings = items[static_cast<std::size_t>(parent)].children;
        fuzz::require(
            std::find(siblings.begin(), siblings.end(), static_cast<int>(i)) != siblings.end(),
            "a category missing from its parent's children");
    }
    return 0;
}
