#include "gui/listings/CMyProductsLeft.h"

#include "ids_frame.h"

namespace tl {

CMyProductsLeft::CMyProductsLeft(QWidget* parent) : FormPane(res::IDD_MYPRODUCTSLEFT, parent) {}

}  // namespace tl
