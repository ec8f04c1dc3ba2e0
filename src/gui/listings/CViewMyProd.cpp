#include "gui/listings/CViewMyProd.h"

#include <QEvent>
#include <QVBoxLayout>

#include "core/listings/ListingOperations.h"
#include "core/listings/ListingPaths.h"
#include "core/platform/Ui.h"
#include "core/search/MyListings.h"
#include "core/search/ResultQueries.h"
#include "core/session/Session.h"
#include "gui/listings/CSellDlg.h"
#include "gui/search/ListingOpening.h"
#include "gui/search/ResultList.h"
#include "gui/session/ListSelection.h"
#include "gui/session/Navigation.h"
#include "gui/widgets/Controls.h"
#include "ids_mylistings.h"

namespace tl {
namespace {

// Longest error text shown when a list cannot be loaded.
constexpr std::size_t kFailureTextLimit = 255;

}  // namespace

// The "Type" heading sorts by the hidden copy of the type.
const ResultListLayout& myListingsLayout() {
    using F = ResultField;
    static const ResultListLayout layout{
        {{"Type", 40, F::Kind, "inactive"},
         {"Item Title", 350, F::Title},
         {"Price", 40, F::Price, "Make Offer"},
         {"User Name", 80, F::Username},
         {"Item #", 45, F::ProductId, ""},
         {"Size", 45, F::Size, ""},
         {"Status", 0, F::HolderStatus},
         {"", 0, F::Kind},
         {"Files", 60, F::FilesKept, "Not kept"}},
        CViewMyProd::KindColumn,
        res::IDC_MYPROD_LIST,
        {res::IDB_MYPROD_BUYING, res::IDB_MYPROD_SELLING, res::IDB_MYPROD_SOLD,
         res::IDB_MYPROD_BOUGHT, res::IDB_MYPROD_INACTIVE}};
    return layout;
}

CViewMyProd::CViewMyProd(QWidget* parent)
    : FormPane(res::IDD_VIEWMYPROD, parent, Qt::white),
      list_(new ResultList(myListingsLayout(), this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addWidget(list_);

    connect(list_, &QTreeWidget::itemClicked, this, [this] { trackChosenRow(); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { trackChosenRow(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* row) { openRow(row); });
    list_->installEventFilter(this);
}

void CViewMyProd::showEvent(QShowEvent* event) {
    FormPane::showEvent(event);
    Refresh();
}

bool CViewMyProd::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::FocusIn) trackChosenRow();
    return FormPane::eventFilter(watched, event);
}

// Each list is loaded even when the other one cannot be.
void CViewMyProd::Refresh() {
    WaitCursor wait;
    list_->clear();
    addOwnListings();
    addBoughtItems();
    list_->sortByItemNumber();
}

// The member's own listings carry no poster: the member is.
void CViewMyProd::addOwnListings() {
    MyListingsQuery query(session().currentUserName);
    if (!query.Run()) {
        reportFailure(query);
        return;
    }
    std::vector<ListedRecord> rows;
    bool filesKeptSaid = false;
    for (ResultRecord& record : query.takeRecords())
        if (const std::optional<ListingKind> kind = ownListingKind(record.status)) {
            filesKeptSaid = filesKeptSaid || *filesKeptText(record.fileskept) != '\0';
            rows.push_back({std::move(record), *kind});
            rows.back().record.username = session().currentUserName;
        }
    list_->addRows(std::move(rows));
    list_->setColumnHidden(FilesColumn, !filesKeptSaid);
}

void CViewMyProd::addBoughtItems() {
    BoughtQuery query(session().currentUserName);
    if (!query.Run()) {
        reportFailure(query);
        return;
    }
    std::vector<ListedRecord> rows;
    for (ResultRecord& record : query.takeRecords())
        rows.push_back({std::move(record), ListingKind::Bought});
    list_->addRows(std::move(rows));
}

// An empty list or a reply with nothing to list says enough; only a failed request is told.
void CViewMyProd::reportFailure(const ResultQuery& query) {
    if (query.RequestFailed())
        ui().messageBox("Tradeloom", query.FailureText().substr(0, kFailureTextLimit));
}

void CViewMyProd::trackChosenRow() {
    if (const ListedRecord* listed = list_->selectedRecord())
        listSelection().selectedListingId = listed->record.productid;
}

void CViewMyProd::openRow(const QTreeWidgetItem* row) {
    const ListedRecord* listed = ResultList::recordOf(row);
    if (listed == nullptr) return;
    listSelection().selectedListingId = listed->record.productid;
    showListing(listSelection().selectedListingId);
}

void CViewMyProd::showListing(const std::string& productId) {
    // The buyer has no file of another member's listing: it comes from its seller, as from a
    // search.
    if (const std::optional<std::string> seller = boughtFrom(productId)) {
        if (!isFetchingListing()) fetchListing(productId, *seller);
        return;
    }
    session().webAddress = ownListingPath(productId);
    switchMainView(View::WebPane);
}

// A listing the member both owns and bought back counts as the member's own.
std::optional<std::string> CViewMyProd::boughtFrom(const std::string& productId) const {
    std::optional<std::string> seller;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        const ListedRecord* listed = ResultList::recordOf(list_->topLevelItem(i));
        if (listed == nullptr || listed->record.productid != productId) continue;
        if (listed->kind != ListingKind::Bought) return std::nullopt;
        seller = listed->record.ipaddress;
    }
    return seller;
}

void CViewMyProd::Sell() {
    const std::string productId = listSelection().selectedListingId;
    if (productId.empty()) return;
    if (IsProductSold(productId) == 1) return;
    CSellDlg dialog(this);
    if (ui().runModal(dialog) != kDialogOk) return;
    if (tl::Sell(productId, dialog.buyer(), session().currentUserName, dialog.price()) != 1) {
        ui().messageBox("Product Not Sold", "Product Unable to be Updated");
        return;
    }
    ui().messageBox("Product Sold", "Message sent to the Buyer");
    // The listing shows as sold from now on.
    Refresh();
}

}  // namespace tl
