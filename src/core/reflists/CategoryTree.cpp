#include "core/reflists/CategoryTree.h"

#include "core/reflists/CategoryDocument.h"

namespace tl {

CategoryTree::CategoryTree() {
    items_.push_back(Item{kCategoryTopLabel, -1, {}, false});
}

int CategoryTree::insert(int parent, const std::string& label) {
    const int item = static_cast<int>(items_.size());
    items_.push_back(Item{label, parent, {}, false});
    items_[parent].children.push_back(item);
    return item;
}

const std::string& CategoryTree::parentLabel(int item) const {
    static const std::string none;
    const int parent = items_[item].parent;
    return parent < 0 ? none : items_[parent].label;
}

// Every element of the file becomes an item, in document order. The file only gives each
// element's parent by name, so an element is placed under the nearest item on the way up from
// the item inserted last whose label is that name (labels compared exactly).
bool CategoryTree::build(const std::string& path) {
    CategoryDocument file;
    if (!file.LoadFile(path)) return false;
    file.NextElement();
    int last = insert(kTop, file.ElementName());
    for (int taken = 1; taken < file.Count(); ++taken) {
        file.NextElement();
        const std::string name = file.ElementName();
        const std::string parent = file.ParentName();
        int under;
        if (items_[last].label == parent) {
            under = last;
            items_[under].expanded = true;
        } else if (parentLabel(last) == parent) {
            under = items_[last].parent;
            items_[under].expanded = false;
        } else {
            while (parentLabel(last) != parent && !parentLabel(last).empty() &&
                   parentLabel(last) != items_[kTop].label)
                last = items_[last].parent;
            under = items_[last].parent;
            items_[under].expanded = true;
        }
        last = insert(under, name);
    }
    items_[kTop].expanded = true;
    return true;
}

std::string categoryResult(const std::string& parentLabel, const std::string& label) {
    if (parentLabel == kCategoryTopLabel || parentLabel.empty()) return label;
    return parentLabel + "; " + label;
}

}  // namespace tl
