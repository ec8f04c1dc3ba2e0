#include "gui/search/CView2.h"

#include <QVBoxLayout>

#include "gui/search/ResultList.h"
#include "ids_frame.h"

namespace tl {
namespace {
constexpr int kFieldsHeight = 225;  // the search fields above the list
}

CView2::CView2(QWidget* parent)
    : FormPane(res::IDD_VIEW2, parent, Qt::white),
      list_(new ResultList(advancedSearchLayout(), this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, kFieldsHeight, 5, 5);
    layout->addWidget(list_);
}

}  // namespace tl
