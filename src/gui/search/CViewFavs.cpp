#include "gui/search/CViewFavs.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "core/search/ResultQueries.h"
#include "core/session/Session.h"
#include "gui/search/ListingOpening.h"
#include "gui/search/ResultList.h"
#include "gui/session/ListSelection.h"
#include "gui/widgets/Controls.h"
#include "ids_frame.h"
#include "ids_search.h"

namespace tl {
namespace {

std::string columnText(const QTreeWidgetItem* row, int column) {
    return row->text(column).toStdString();
}

}  // namespace

CViewFavs::CViewFavs(QWidget* parent)
    : FormPane(res::IDD_VIEWFAVS, parent, Qt::white),
      list_(new ResultList(favoritesLayout(), this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addWidget(list_);
    connect(list_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* row) { trackClick(row); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { trackChosenRow(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* row) { openFavorite(row); });
    // The template's own "Remove" stays hidden: the favourites buttons carry it.
    idButton(this, res::IDC_FV_REMOVE, "Remove")->hide();
}

void CViewFavs::showEvent(QShowEvent* event) {
    FormPane::showEvent(event);
    reload();
}

// An empty list says enough: no message.
void CViewFavs::reload() {
    WaitCursor wait;
    FavoritesQuery query(session().currentUserName);
    fillResultList(*list_, query);
    list_->sortByItemNumber();
}

// The favourites list has no address column: the address of a row chosen elsewhere is dropped,
// so that the buttons never dial the poster of another listing.
void CViewFavs::trackClick(QTreeWidgetItem* row) {
    if (row == nullptr) return;
    ListSelection& values = listSelection();
    values.selectedFavoriteId = columnText(row, kItemNumberColumn);
    values.selectedProductId = values.selectedFavoriteId;
    values.selectedSellerAddress.clear();
}

void CViewFavs::trackChosenRow() {
    const QList<QTreeWidgetItem*> chosen = list_->selectedItems();
    if (chosen.isEmpty()) return;
    trackClick(chosen.front());
    listSelection().selectedItemTitle = columnText(chosen.front(), kTitleColumn);
    listSelection().selectedSellerName = columnText(chosen.front(), kUsernameColumn);
}

void CViewFavs::openFavorite(QTreeWidgetItem* row) {
    if (row != nullptr) showDownloadedListing(columnText(row, kItemNumberColumn));
}

}  // namespace tl
