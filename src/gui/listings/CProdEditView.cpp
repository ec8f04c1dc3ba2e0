#include "gui/listings/CProdEditView.h"

#include "ids_frame.h"

namespace tl {

CProdEditView::CProdEditView(QWidget* parent) : FormPane(res::IDD_PRODEDITVIEW, parent) {}

}  // namespace tl
