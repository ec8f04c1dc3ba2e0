#include "gui/search/CFavoritesLeft.h"

#include "ids_frame.h"

namespace tl {

CFavoritesLeft::CFavoritesLeft(QWidget* parent) : FormPane(res::IDD_FAVORITESLEFT, parent) {}

}  // namespace tl
