#include "gui/search/CView2.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/platform/Ui.h"
#include "core/reflists/CategoryDocument.h"
#include "core/search/ResultQueries.h"
#include "core/service/MarketContract.h"
#include "core/service/ServiceRequest.h"
#include "core/session/Session.h"
#include "gui/reflists/CCategoryDlg.h"
#include "gui/search/ListingOpening.h"
#include "gui/search/ResultList.h"
#include "gui/session/ListSelection.h"
#include "gui/widgets/Controls.h"
#include "ids_search.h"

namespace tl {
namespace {

constexpr int kTextLimit = 50;
constexpr int kFieldsHeight = 220;  // the list starts 225 units down the form

std::string textOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

QLineEdit* textField(QWidget* parent, int id) {
    auto* edit = new QLineEdit(parent);
    setControlId(edit, id);
    edit->setMaxLength(kTextLimit);
    return edit;
}

QComboBox* dropDown(QWidget* parent, int id) {
    auto* box = new QComboBox(parent);
    setControlId(box, id);
    box->setCurrentIndex(-1);
    return box;
}

QRadioButton* radio(QButtonGroup* group, QWidget* parent, int id, const char* text) {
    auto* button = new QRadioButton(text, parent);
    setControlId(button, id);
    group->addButton(button, id);
    return button;
}

// What the server takes for the chosen radio button of each group; empty when none is chosen.
std::string statusOf(const QButtonGroup* kind) {
    switch (kind->checkedId()) {
        case res::IDC_ADV_WANTED:
            return contract::kBuying;
        case res::IDC_ADV_FORSALE:
            return contract::kSelling;
        case res::IDC_ADV_BOTH:
            return "Both";
        default:
            return {};
    }
}

std::string priceSwitchOf(const QButtonGroup* priceSwitch) {
    switch (priceSwitch->checkedId()) {
        case res::IDC_ADV_LESS:
            return "Less";
        case res::IDC_ADV_GREATER:
            return "Greater";
        default:
            return {};
    }
}

void uncheckAll(QButtonGroup* group) {
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) button->setChecked(false);
    group->setExclusive(true);
}

}  // namespace

CView2::CView2(QWidget* parent)
    : FormPane(res::IDD_VIEW2, parent, Qt::white),
      title_(textField(this, res::IDC_ADV_TITLE)),
      description_(textField(this, res::IDC_ADV_DESCRIPTION)),
      zipcode_(textField(this, res::IDC_ADV_ZIPCODE)),
      price_(textField(this, res::IDC_ADV_PRICE)),
      category_(new QLineEdit(this)),
      user_(textField(this, res::IDC_ADV_USER)),
      club_(dropDown(this, res::IDC_ADV_CLUB)),
      club2_(dropDown(this, res::IDC_ADV_CLUB2)),
      category2_(dropDown(this, res::IDC_ADV_CATEGORY2)),
      kind_(new QButtonGroup(this)),
      priceSwitch_(new QButtonGroup(this)),
      list_(new ResultList(advancedSearchLayout(), this)) {
    // The picker fills the category, which the member cannot type in: a long category from
    // the picker is kept whole rather than cut to the typing limit.
    setControlId(category_, res::IDC_ADV_CATEGORY);
    category_->setReadOnly(true);
    club2_->hide();
    category2_->hide();
    auto* category2Label = new QLabel("Category 2", this);
    category2Label->hide();

    const QLabel* selectPicture =
        hiddenBitmap(this, res::IDC_ADV_SELECT_BITMAP, res::IDB_ADV_SELECT);
    QPushButton* select = pictureButton(this, res::IDC_ADV_SELECT, "Select", selectPicture);
    connect(select, &QPushButton::clicked, this, &CView2::Select);
    // The form's own Search and Clear stay hidden: the advanced-search bar carries them.
    QPushButton* search = idButton(this, res::IDC_ADV_SEARCH, "Search");
    search->setDefault(true);
    search->hide();
    connect(search, &QPushButton::clicked, this, &CView2::Search);
    QPushButton* clear = idButton(this, res::IDC_ADV_CLEAR, "Clear");
    clear->hide();
    connect(clear, &QPushButton::clicked, this, &CView2::Clear);
    // The form is no dialog: Enter in a text field runs the default button itself.
    for (QLineEdit* edit : {title_, description_, zipcode_, price_, user_})
        connect(edit, &QLineEdit::returnPressed, this, &CView2::Search);

    auto* fields = new QWidget(this);
    fields->setFixedHeight(kFieldsHeight);
    auto* grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    auto label = [this, grid](const char* text, int row, int column) {
        grid->addWidget(new QLabel(text, this), row, column);
    };
    label("Item Title", 0, 0);
    grid->addWidget(title_, 1, 0);
    label("Item Description", 0, 1);
    grid->addWidget(description_, 1, 1, 1, 2);
    label("Item Zip Code", 2, 0);
    grid->addWidget(zipcode_, 3, 0);
    label("Price", 2, 1);
    grid->addWidget(price_, 3, 1);
    auto* bound = new QHBoxLayout;
    bound->addWidget(radio(priceSwitch_, this, res::IDC_ADV_GREATER, "Greater Than"));
    bound->addWidget(radio(priceSwitch_, this, res::IDC_ADV_LESS, "Less Than"));
    grid->addLayout(bound, 3, 2);
    label("Category", 4, 0);
    auto* pick = new QHBoxLayout;
    pick->addWidget(category_, 1);
    pick->addWidget(select);
    grid->addLayout(pick, 5, 0);
    label("Club", 4, 1);
    grid->addWidget(club_, 5, 1);
    label("Username", 4, 2);
    grid->addWidget(user_, 5, 2);
    label("Search Items that are:", 6, 0);
    auto* kinds = new QHBoxLayout;
    kinds->addWidget(radio(kind_, this, res::IDC_ADV_WANTED, "Wanted"));
    kinds->addWidget(radio(kind_, this, res::IDC_ADV_FORSALE, "For Sale"));
    kinds->addWidget(radio(kind_, this, res::IDC_ADV_BOTH, "Both"));
    kinds->addStretch(1);
    grid->addLayout(kinds, 7, 0, 1, 3);
    grid->setRowStretch(8, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->addWidget(fields);
    layout->addWidget(list_, 1);

    connect(list_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* row) { trackClick(row); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { trackChosenRow(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { openResult(); });
}

// The club list is asked for once, when the form is first shown.
void CView2::showEvent(QShowEvent* event) {
    FormPane::showEvent(event);
    if (clubsLoaded_) return;
    clubsLoaded_ = true;
    loadClubs();
}

void CView2::loadClubs() {
    const std::optional<std::vector<std::string>> clubs = loadClubNames();
    if (!clubs) {
        ui().messageBox(session().categoryFileName, "Load Category Failed");
        return;
    }
    QStringList names;
    for (const std::string& club : *clubs) names << QString::fromStdString(club);
    names.sort(Qt::CaseInsensitive);
    club_->addItems(names);
    club_->setCurrentIndex(-1);
}

void CView2::Search() {
    WaitCursor wait;
    AdvancedSearchQuery query({textOf(title_), textOf(description_), textOf(zipcode_),
                               textOf(price_), textOf(category_),
                               club_->currentText().toStdString(), statusOf(kind_),
                               priceSwitchOf(priceSwitch_), textOf(user_)});
    if (!fillResultList(*list_, query)) {
        // An unreachable server is not an empty marketplace: say which it was.
        if (query.RequestFailed())
            showConnectionError();
        else
            ui().messageBox("No results Found", "no matches found", MessageButtons::Ok,
                            MessageIcon::Exclamation);
    }
    list_->sortByItemNumber();
}

void CView2::Clear() {
    for (QLineEdit* edit : {title_, description_, zipcode_, price_, category_, user_})
        edit->clear();
    club_->setCurrentIndex(-1);
    club2_->setCurrentIndex(-1);
    uncheckAll(kind_);
    uncheckAll(priceSwitch_);
}

void CView2::Select() {
    CCategoryDlg picker(this);
    if (ui().runModal(picker) == kDialogOk)
        category_->setText(QString::fromStdString(picker.chosenCategory()));
}

bool CView2::FetchListing() {
    const ListSelection& values = listSelection();
    return fetchListing(values.advancedProductId, values.advancedSellerAddress);
}

void CView2::trackClick(QTreeWidgetItem* row) {
    const ListedRecord* listed = ResultList::recordOf(row);
    if (listed == nullptr) return;
    listSelection().advancedProductId = listed->record.productid;
    listSelection().advancedSellerAddress = listed->record.ipaddress;
    list_->setCurrentItem(row);
    list_->setFocus();
}

void CView2::trackChosenRow() {
    const ListedRecord* listed = list_->selectedRecord();
    if (listed == nullptr) return;
    ListSelection& values = listSelection();
    values.advancedProductId = listed->record.productid;
    values.selectedSellerName = listed->record.username;
    values.selectedItemTitle = listed->record.titlebar;
    values.advancedSellerAddress = listed->record.ipaddress;
}

void CView2::openResult() {
    const ListedRecord* listed = list_->selectedRecord();
    if (listed == nullptr || isFetchingListing()) return;
    WaitCursor wait;
    listSelection().advancedProductId = listed->record.productid;
    listSelection().advancedSellerAddress = listed->record.ipaddress;
    FetchListing();
}

}  // namespace tl
