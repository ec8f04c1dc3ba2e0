#include "listings/CAddLeft.h"

#include "ids_frame.h"

namespace tl {

CAddLeft::CAddLeft(QWidget* parent) : FormPane(res::IDD_ADDLEFT, parent) {}

}  // namespace tl
