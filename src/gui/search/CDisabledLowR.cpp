#include "gui/search/CDisabledLowR.h"

#include "ids_frame.h"

namespace tl {

CDisabledLowR::CDisabledLowR(QWidget* parent) : FormPane(res::IDD_DISABLEDLOWR, parent) {}

}  // namespace tl
