#include "listings/CView3.h"

#include "ids_frame.h"

namespace tl {

CView3::CView3(QWidget* parent) : FormPane(res::IDD_VIEW3, parent) {}

}  // namespace tl
