#include "gui/reflists/CCategoryDlg.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <vector>

#include "core/platform/ProgramDirectory.h"
#include "core/reflists/CategoryTree.h"
#include "core/service/Endpoints.h"
#include "core/session/Session.h"
#include "gui/session/Navigation.h"
#include "gui/widgets/Controls.h"
#include "ids_app.h"
#include "ids_reflists.h"

namespace tl {

CCategoryDlg::CCategoryDlg(QWidget* parent)
    : TemplateDialog(res::IDD_CATEGORY, "Select Category", parent) {
    tree_ = new QTreeWidget(this);
    setControlId(tree_, res::IDC_CATEGORY_TREE);
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    // Lines between the items, as a classic tree control draws them, where the style has them.
    if (QStyle* lined = QStyleFactory::create("Windows")) {
        lined->setParent(tree_);
        tree_->setStyle(lined);
    }
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* select = idButton(this, res::IDOK, "Select");
    select->setDefault(true);
    auto* cancel = idButton(this, res::IDCANCEL, "Cancel");
    auto* suggest = idButton(this, res::IDC_CATEGORY_SUGGESTION, "Make Category Suggestion");

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(select);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    buttons->addWidget(suggest);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(tree_, 1);
    layout->addLayout(buttons);
    resize(420, 360);

    connect(select, &QPushButton::clicked, this, &CCategoryDlg::onSelect);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(suggest, &QPushButton::clicked, this, &CCategoryDlg::onSuggestCategory);
    // A double-click on a category without subcategories chooses it; on any other it opens or
    // closes the branch.
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item->childCount() == 0) onSelect();
    });

    const std::string& fileName = session().categoryFileName;
    if (fileName.empty()) return;
    CategoryTree categories;
    // Empty when the name would reach outside the program directory.
    const std::string path = plainFileIn(programDirectory(), fileName);
    if (path.empty() || !categories.build(path))
        ui().messageBox("Category Loading Error",
                        "Error loading category list, check network connection", MessageButtons::Ok,
                        MessageIcon::Exclamation);
    fillTree(categories);
}

void CCategoryDlg::fillTree(const CategoryTree& tree) {
    const auto& items = tree.items();
    std::vector<QTreeWidgetItem*> made(items.size());
    for (std::size_t at = 0; at < items.size(); ++at) {
        const QStringList label{QString::fromStdString(items[at].label)};
        made[at] = items[at].parent < 0 ? new QTreeWidgetItem(tree_, label)
                                        : new QTreeWidgetItem(made[items[at].parent], label);
    }
    for (std::size_t at = 0; at < items.size(); ++at) made[at]->setExpanded(items[at].expanded);
    // The top item and the file's document element only hold the categories: the member sees
    // the categories themselves. The items stay, so a top-level category still has "root" as
    // its parent.
    const std::vector<int>& top = items[CategoryTree::kTop].children;
    if (!top.empty()) tree_->setRootIndex(tree_->indexFromItem(made[top.front()]));
}

void CCategoryDlg::onSelect() {
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    chosen_.clear();
    if (!selected.isEmpty()) {
        const QTreeWidgetItem* item = selected.front();
        const QTreeWidgetItem* parent = item->parent();
        chosen_ = categoryResult(parent ? parent->text(0).toStdString() : std::string(),
                                 item->text(0).toStdString());
    }
    accept();
}

void CCategoryDlg::onSuggestCategory() {
    session().webAddress = endpoints::categorySuggestion(session().currentUserName).address();
    if (!switchMainView(View::WebPane)) return;
    chosen_.clear();
    accept();
}

}  // namespace tl
