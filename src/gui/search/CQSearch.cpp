#include "gui/search/CQSearch.h"

#include "ids_frame.h"

namespace tl {

CQSearch::CQSearch(QWidget* parent) : FormPane(res::IDD_QSEARCH, parent) {}

}  // namespace tl
