#include "gui/listings/CViewMyProd.h"

#include "ids_frame.h"

namespace tl {

CViewMyProd::CViewMyProd(QWidget* parent) : FormPane(res::IDD_VIEWMYPROD, parent) {}

}  // namespace tl
