#include "gui/search/CViewFavs.h"

#include <QVBoxLayout>

#include "gui/search/ResultList.h"
#include "ids_frame.h"

namespace tl {

CViewFavs::CViewFavs(QWidget* parent)
    : FormPane(res::IDD_VIEWFAVS, parent, Qt::white),
      list_(new ResultList(favoritesLayout(), this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addWidget(list_);
}

}  // namespace tl
