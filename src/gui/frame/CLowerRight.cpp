#include "gui/frame/CLowerRight.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/session/PendingSearch.h"
#include "gui/session/Navigation.h"
#include "gui/widgets/Controls.h"
#include "ids_frame.h"

namespace tl {
namespace {
constexpr int kCriteriaLimit = 50;
}

CLowerRight::CLowerRight(QWidget* parent) : FormPane(res::IDD_LOWERRIGHT, parent, Qt::white) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(new QLabel("Search Items that are", this));

    auto kind = [this, layout](int id, const char* text, const char* status) {
        auto* radio = new QRadioButton(text, this);
        setControlId(radio, id);
        connect(radio, &QRadioButton::clicked, this, [this, status] { status_ = status; });
        layout->addWidget(radio);
        return radio;
    };
    kind(res::IDC_QS_FORSALE, "For Sale", "SELLING")->setChecked(true);
    kind(res::IDC_QS_WANTED, "Wanted", "BUYING");
    kind(res::IDC_QS_BOTH, "Both", "BOTH");

    criteria_ = new QLineEdit(this);
    setControlId(criteria_, res::IDC_QS_CRITERIA);
    criteria_->setMaxLength(kCriteriaLimit);
    layout->addWidget(criteria_, 1);

    const QLabel* searchPicture = hiddenBitmap(this, res::IDC_QS_SEARCH_BITMAP, res::IDB_QS_SEARCH);
    const QLabel* advancedPicture =
        hiddenBitmap(this, res::IDC_QS_ADVANCED_BITMAP, res::IDB_QS_ADVANCED);
    QPushButton* search = pictureButton(this, res::IDC_QS_SEARCH, "Search", searchPicture);
    search->setDefault(true);
    QPushButton* advanced = pictureButton(this, res::IDC_QS_ADVANCED, "Advanced", advancedPicture);
    layout->addWidget(search);
    layout->addWidget(advanced);

    connect(search, &QPushButton::clicked, this, &CLowerRight::onSearch);
    // The bar is no dialog: Enter in the criteria runs the default button itself.
    connect(criteria_, &QLineEdit::returnPressed, this, &CLowerRight::onSearch);
    connect(advanced, &QPushButton::clicked, this, &CLowerRight::onAdvanced);
}

void CLowerRight::onSearch() {
    PendingSearch& pending = pendingSearch();
    pending.flag = 1;
    pending.text = criteria_->text().toStdString();
    if (status_.empty()) status_ = "SELLING";
    pending.status = status_;
    Navigator* frame = navigator();
    if (frame != nullptr) frame->SwitchView(View::SearchResults);
    criteria_->clear();
    if (frame != nullptr) frame->setNavigationTab(Tab::Search);
}

void CLowerRight::onAdvanced() {
    Navigator* frame = navigator();
    if (frame == nullptr) return;
    frame->SwitchView(View::AdvancedSearch);
    frame->showPane(Pane::DisabledLowR);
    frame->setNavigationTab(Tab::Search);
}

}  // namespace tl
