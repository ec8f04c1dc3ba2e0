#pragma once

#include <string>

#include "gui/widgets/TemplateDialog.h"

class QTreeWidget;

namespace tl {

class CategoryTree;

// The category picker: shows the categories of the category file as a tree and hands the chosen
// category back to the form that opened it. "Select", or a double-click on a category without
// subcategories, ends with OK and the category ("Parent; Child", or a top-level name alone);
// "Cancel" ends without one; "Make Category
// Suggestion" opens the marketplace's suggestion page in the web pane and ends with OK and an
// empty category.
class CCategoryDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CCategoryDlg(QWidget* parent = nullptr);

    // The category chosen with "Select"; empty until then.
    const std::string& chosenCategory() const { return chosen_; }

    void onSelect();
    void onSuggestCategory();

private:
    void fillTree(const CategoryTree& tree);

    QTreeWidget* tree_;
    std::string chosen_;
};

}  // namespace tl
