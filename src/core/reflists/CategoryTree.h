#pragma once

#include <string>
#include <vector>

namespace tl {

// The label of the category picker's own top item.
inline constexpr char kCategoryTopLabel[] = "root";

// The items of the category picker's tree, built from the category file without any widget so
// the picker and its tests share one building rule. Item 0 is the top item "root".
class CategoryTree {
public:
    struct Item {
        std::string label;
        int parent = -1;  // -1 for the top item
        std::vector<int> children;
        bool expanded = false;
    };
    static constexpr int kTop = 0;

    CategoryTree();

    // Builds the tree from the category file at path, under the top item. False when the file
    // cannot be loaded; the tree then keeps only its top item.
    bool build(const std::string& path);

    const std::vector<Item>& items() const { return items_; }

private:
    int insert(int parent, const std::string& label);
    // The label of an item's parent item, empty when it has none.
    const std::string& parentLabel(int item) const;

    std::vector<Item> items_;
};

// What the picker hands back for a chosen item: its label alone when its parent item is the top
// item "root" or it has no parent item, else the parent's label, "; " and its label.
std::string categoryResult(const std::string& parentLabel, const std::string& label);

}  // namespace tl
