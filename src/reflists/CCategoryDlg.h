#pragma once

#include <QDialog>

#include <functional>
#include <string>

#include "platform/Ui.h"

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
    // How the picker asks the main frame to show one of its views. The main frame installs it
    // when it is made and removes it (with an empty function) when it goes; without it, the
    // suggestion page is not shown and the picker stays open.
    using ShowView = std::function<void(int view)>;
    static void setShowView(ShowView showView);

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
