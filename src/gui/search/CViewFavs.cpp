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
void CViewFavs::chooseFavorite(const ResultRecord& record) {
    ListSelection& values = listSelection();
    values.selectedFavoriteId = record.productid;
    values.selectedProductId = values.selectedFavoriteId;
    values.selectedSellerAddress.clear();
}

void CViewFavs::trackClick(const QTreeWidgetItem* row) {
    if (const ListedRecord* listed = ResultList::recordOf(row)) chooseFavorite(listed->record);
}

void CViewFavs::trackChosenRow() {
    const ListedRecord* listed = list_->selectedRecord();
    if (listed == nullptr) return;
    chooseFavorite(listed->record);
    listSelection().selectedItemTitle = listed->record.titlebar;
    listSelection().selectedSellerName = listed->record.username;
}

void CViewFavs::openFavorite(const QTreeWidgetItem* row) {
    if (const ListedRecord* listed = ResultList::recordOf(row))
        showDownloadedListing(listed->record.productid);
}

}  // namespace tl
