#include "gui/search/CView2.h"

#include "ids_frame.h"

namespace tl {

CView2::CView2(QWidget* parent) : FormPane(res::IDD_VIEW2, parent) {}

}  // namespace tl
