#include "gui/search/CQSearch.h"

#include <QEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>
#include <optional>

#include "core/platform/Ui.h"
#include "core/search/DownloadEstimate.h"
#include "core/search/ResultQueries.h"
#include "core/service/ServiceRequest.h"
#include "core/session/PendingSearch.h"
#include "core/session/Session.h"
#include "gui/search/CUserNotOnlineDlg.h"
#include "gui/search/ListingOpening.h"
#include "gui/search/ResultList.h"
#include "gui/session/ListSelection.h"
#include "gui/session/Navigation.h"
#include "gui/widgets/Controls.h"
#include "ids_frame.h"
#include "ids_search.h"

namespace tl {

CQSearch::CQSearch(QWidget* parent)
    : FormPane(res::IDD_QSEARCH, parent, Qt::white),
      list_(new ResultList(quickSearchLayout(), this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addWidget(list_);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { trackChosenRow(); });
    connect(list_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* row) { trackSelection(row); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* row) { openResult(row); });
    list_->installEventFilter(this);
    // The template's own buttons stay hidden: the search buttons beside the view carry them.
    const struct {
        int id;
        const char* text;
        std::function<void()> command;
    } hidden[] = {
        {res::IDC_QR_SEARCH, "Search!", [this] { RunSearch(); }},
        {res::IDC_QR_ADDFAVORITE, "Add Favorite", [this] { AddFavorite(); }},
        {res::IDC_QR_BUY, "Buy", showContactDialog},
        {res::IDC_QR_ADVANCED, "Advanced", [] { switchMainView(View::AdvancedSearch); }},
    };
    for (const auto& button : hidden) {
        QPushButton* made = idButton(this, button.id, button.text);
        made->setDefault(button.id == res::IDC_QR_SEARCH);
        made->hide();
        connect(made, &QPushButton::clicked, this, button.command);
    }
}

bool CQSearch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::FocusIn) trackChosenRow();
    return FormPane::eventFilter(watched, event);
}

void CQSearch::showEvent(QShowEvent* event) {
    FormPane::showEvent(event);
    PendingSearch& pending = pendingSearch();
    if (pending.flag != 1) return;
    pending.flag = 0;
    status_ = pending.status;
    criteria_ = pending.text;
    RunSearch();
}

void CQSearch::RunSearch() {
    WaitCursor wait;
    QuickSearchQuery query(criteria_, status_);
    if (!fillResultList(*list_, query)) {
        // An unreachable server is not an empty marketplace: say which it was.
        if (query.RequestFailed())
            showConnectionError();
        else
            ui().messageBox("Results", "There were No Search Results Found");
    }
    list_->sortByItemNumber();
}

// Every value of the row goes to the session together, so the buttons beside the list never
// pair one row's product with another row's poster.
void CQSearch::trackSelection(const QTreeWidgetItem* row) {
    const ListedRecord* listed = ResultList::recordOf(row);
    if (listed == nullptr) return;
    ListSelection& values = listSelection();
    values.selectedProductId = listed->record.productid;
    values.selectedSellerName = listed->record.username;
    values.selectedItemTitle = listed->record.titlebar;
    values.selectedSellerAddress = listed->record.ipaddress;
    online_ = values.selectedSellerAddress.empty() ? 0 : 1;
}

void CQSearch::trackChosenRow() {
    const QList<QTreeWidgetItem*> chosen = list_->selectedItems();
    if (!chosen.isEmpty()) trackSelection(chosen.front());
}

void CQSearch::AddFavorite() {
    const ListSelection& values = listSelection();
    if (online_ != 1 || values.selectedProductId.empty()) {
        CUserNotOnlineDlg::tellPosterOffline(values.selectedProductId);
        return;
    }
    fetchAndAddFavorite(values.selectedProductId, values.selectedSellerAddress);
}

void CQSearch::openResult(const QTreeWidgetItem* row) {
    const ListedRecord* listed = ResultList::recordOf(row);
    if (listed == nullptr || isFetchingListing()) return;
    const ResultRecord& record = listed->record;
    WaitCursor wait;
    ListSelection& values = listSelection();
    values.selectedProductId = record.productid;
    values.selectedSellerAddress = record.ipaddress;
    const std::optional<long> seconds = largeListingSeconds(
        sizeKilobytes(record.filesize), record.connection, session().connectionType);
    if (seconds &&
        ui().messageBox(kFileSizeAlertCaption, fileSizeAlertText(*seconds), MessageButtons::YesNo,
                        MessageIcon::Question) != MessageResult::Yes)
        return;
    fetchListing(values.selectedProductId, values.selectedSellerAddress);
}

void CQSearch::ViewSelected() {
    const ListSelection& values = listSelection();
    if (!values.selectedProductId.empty())
        fetchListing(values.selectedProductId, values.selectedSellerAddress);
}

}  // namespace tl
