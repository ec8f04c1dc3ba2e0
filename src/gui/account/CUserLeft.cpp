#include "gui/account/CUserLeft.h"

#include "ids_frame.h"

namespace tl {

CUserLeft::CUserLeft(QWidget* parent) : FormPane(res::IDD_USERLEFT, parent) {}

}  // namespace tl
