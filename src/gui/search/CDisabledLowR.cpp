#include "gui/search/CDisabledLowR.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "gui/search/CView2.h"
#include "gui/widgets/Controls.h"
#include "ids_search.h"

namespace tl {
namespace {

// The bar holds no reference to the form: it finds the window's advanced search forms.
template <class Command>
void onEveryForm(const QWidget* bar, Command command) {
    for (CView2* form : bar->window()->findChildren<CView2*>()) command(*form);
}

}  // namespace

CDisabledLowR::CDisabledLowR(QWidget* parent) : FormPane(res::IDD_DISABLEDLOWR, parent, Qt::white) {
    const QLabel* searchPicture = hiddenBitmap(this, res::IDC_DL_SEARCH_BITMAP, res::IDB_QS_SEARCH);
    const QLabel* clearPicture = hiddenBitmap(this, res::IDC_DL_CLEAR_BITMAP, res::IDB_DL_CLEAR);
    QPushButton* search = pictureButton(this, res::IDC_DL_SEARCH, "Search", searchPicture);
    QPushButton* clear = pictureButton(this, res::IDC_DL_CLEAR, "Clear", clearPicture);
    connect(search, &QPushButton::clicked, this, &CDisabledLowR::onSearch);
    connect(clear, &QPushButton::clicked, this, &CDisabledLowR::onClear);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addStretch(1);
    layout->addWidget(search);
    layout->addWidget(clear);
}

void CDisabledLowR::onSearch() {
    onEveryForm(this, [](CView2& form) { form.Search(); });
}

void CDisabledLowR::onClear() {
    onEveryForm(this, [](CView2& form) { form.Clear(); });
}

}  // namespace tl
