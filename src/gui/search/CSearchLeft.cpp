#include "gui/search/CSearchLeft.h"

#include "ids_frame.h"

namespace tl {

CSearchLeft::CSearchLeft(QWidget* parent) : FormPane(res::IDD_SEARCHLEFT, parent) {}

}  // namespace tl
