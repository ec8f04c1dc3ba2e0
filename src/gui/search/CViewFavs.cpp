#include "gui/search/CViewFavs.h"

#include "ids_frame.h"

namespace tl {

CViewFavs::CViewFavs(QWidget* parent) : FormPane(res::IDD_VIEWFAVS, parent) {}

}  // namespace tl
