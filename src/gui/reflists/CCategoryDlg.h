#pragma once

#include <QDialog>

#include <string>

#include "core/platform/Ui.h"

class QTreeWidget;

namespace tl {

class CategoryTree;

// The category picker: shows the category file as a tree under the top item "root" and hands
// the chosen category back to the form that opened it. "Select" ends with OK and the category
// ("Parent; Child", or a top-level name alone); "Cancel" ends without one; "Make Category
// Suggestion" opens the marketplace's suggestion page in the web pane and ends with OK and an
// empty category.
class CCategoryDlg : public QDialog, public ModalDialog {
    Q_OBJECT
public:
    explicit CCategoryDlg(QWidget* parent = nullptr);

    int runModalLoop() override { return exec() == QDialog::Accepted ? kDialogOk : kDialogCancel; }

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
