#include "gui/listings/CViewMyProd.h"

#include <QEvent>
#include <QHeaderView>
#include <QIcon>
#include <QVBoxLayout>

#include "core/listings/ListingOperations.h"
#include "core/listings/ListingPaths.h"
#include "core/platform/Ui.h"
#include "core/search/ResultQueries.h"
#include "core/session/Session.h"
#include "gui/listings/CSellDlg.h"
#include "gui/search/ListingOpening.h"
#include "gui/session/ListSelection.h"
#include "gui/session/Navigation.h"
#include "gui/widgets/CSortListCtrl.h"
#include "gui/widgets/Controls.h"
#include "ids_mylistings.h"

namespace tl {
namespace {

// Longest error text shown when a list cannot be loaded.
constexpr std::size_t kFailureTextLimit = 255;
// Where a bought item's row keeps its seller's address.
constexpr int kSellerAddressRole = Qt::UserRole + 1;

struct ColumnSpec {
    const char* header;
    int width;  // 0: hidden
};
constexpr ColumnSpec kColumns[CViewMyProd::ColumnCount] = {
    {"Type", 40}, {"Item Title", 350}, {"Price", 40}, {"User Name", 80}, {"Item #", 45},
    {"Size", 45}, {"Status", 0},       {"", 0},       {"Files", 60},
};

const QIcon& kindIcon(MyListingKind kind) {
    static const QIcon icons[] = {
        QIcon(bitmapResource(res::IDB_MYPROD_BUYING)),
        QIcon(bitmapResource(res::IDB_MYPROD_SELLING)),
        QIcon(bitmapResource(res::IDB_MYPROD_SOLD)),
        QIcon(bitmapResource(res::IDB_MYPROD_BOUGHT)),
        QIcon(bitmapResource(res::IDB_MYPROD_INACTIVE)),
    };
    return icons[static_cast<int>(kind)];
}

std::string columnText(const QTreeWidgetItem* row, int column) {
    return row->text(column).toStdString();
}

}  // namespace

CViewMyProd::CViewMyProd(QWidget* parent)
    : FormPane(res::IDD_VIEWMYPROD, parent, Qt::white),
      list_(new CSortListCtrl(this)),
      ascending_(ColumnCount, true) {
    setControlId(list_, res::IDC_MYPROD_LIST);
    list_->setIconSize(QSize(16, 16));
    QStringList headers;
    for (const ColumnSpec& column : kColumns) headers << column.header;
    list_->setHeaderLabels(headers);
    QHeaderView* header = list_->header();
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsClickable(true);
    for (int column = 0; column < ColumnCount; ++column) {
        list_->setColumnWidth(column, kColumns[column].width);
        list_->setColumnHidden(column, kColumns[column].width == 0);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addWidget(list_);

    connect(header, &QHeaderView::sectionClicked, this, &CViewMyProd::onHeaderClicked);
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
    list_->SortColumn(ItemNumberColumn, ascending_[ItemNumberColumn]);
}

void CViewMyProd::addOwnListings() {
    const std::string member = session().currentUserName;
    MyListingsQuery query(member);
    if (!query.Run()) {
        reportFailure(query);
        return;
    }
    bool filesKeptShown = false;
    do {
        if (const std::optional<MyListingKind> kind = ownListingKind(query.GetStatus())) {
            const std::string kept = filesKeptText(query.GetFileskept());
            filesKeptShown = filesKeptShown || !kept.empty();
            addRow({*kind, query.GetTitlebar(), query.GetPrice(), member, query.GetProductid(),
                    query.GetFilesize(), "On", kept, ""});
        }
    } while (query.Next());
    list_->setColumnHidden(FilesColumn, !filesKeptShown);
}

void CViewMyProd::addBoughtItems() {
    BoughtQuery query(session().currentUserName);
    if (!query.Run()) {
        reportFailure(query);
        return;
    }
    do {
        addRow({MyListingKind::Bought, query.GetTitlebar(), query.GetPrice(), query.GetUsername(),
                query.GetProductid(), query.GetFilesize(),
                query.GetIpaddress().empty() ? "" : "Online", "", query.GetIpaddress()});
    } while (query.Next());
}

void CViewMyProd::addRow(const Row& row) {
    const QString kind = kindText(row.kind);
    auto* item = new QTreeWidgetItem(
        QStringList{kind, QString::fromStdString(row.title), QString::fromStdString(row.price),
                    QString::fromStdString(row.user), QString::fromStdString(row.productId),
                    QString::fromStdString(row.size), QString::fromStdString(row.status), kind,
                    QString::fromStdString(row.filesKept)});
    item->setIcon(TypeColumn, kindIcon(row.kind));
    item->setData(ItemNumberColumn, kSellerAddressRole, QString::fromStdString(row.sellerAddress));
    list_->addTopLevelItem(item);
}

// An empty list or a reply with nothing to list says enough; only a failed request is told.
void CViewMyProd::reportFailure(const ResultQuery& query) {
    if (query.RequestFailed())
        ui().messageBox("Tradeloom", query.FailureText().substr(0, kFailureTextLimit));
}

void CViewMyProd::trackChosenRow() {
    const QList<QTreeWidgetItem*> chosen = list_->selectedItems();
    if (!chosen.isEmpty())
        listSelection().selectedListingId = columnText(chosen.front(), ItemNumberColumn);
}

void CViewMyProd::openRow(QTreeWidgetItem* row) {
    if (row == nullptr) return;
    listSelection().selectedListingId = columnText(row, ItemNumberColumn);
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
        const QTreeWidgetItem* row = list_->topLevelItem(i);
        if (columnText(row, ItemNumberColumn) != productId) continue;
        if (columnText(row, KindColumn) != kindText(MyListingKind::Bought)) return std::nullopt;
        seller = row->data(ItemNumberColumn, kSellerAddressRole).toString().toStdString();
    }
    return seller;
}

// The "Type" heading sorts by the hidden copy of the type; "Status" and the hidden column sort
// nothing.
void CViewMyProd::onHeaderClicked(int column) {
    if (column < TypeColumn || column > SizeColumn) return;
    const bool ascending = ascending_[column];
    list_->SortColumn(column == TypeColumn ? KindColumn : column, ascending);
    ascending_[column] = !ascending;
}

void CViewMyProd::Sell() {
    const std::string productId = listSelection().selectedListingId;
    if (productId.empty()) return;
    if (IsProductSold(productId) == 1) return;
    CSellDlg dialog(this);
    if (ui().runModal(dialog) != kDialogOk) return;
    if (tl::Sell(productId, dialog.buyer(), dialog.price()) != 1) {
        ui().messageBox("Product Not Sold", "Product Unable to be Updated");
        return;
    }
    ui().messageBox("Product Sold", "Message sent to the Buyer");
    // The listing shows as sold from now on.
    Refresh();
}

}  // namespace tl
