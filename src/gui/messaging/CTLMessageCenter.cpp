#include "gui/messaging/CTLMessageCenter.h"

#include "ids_frame.h"

namespace tl {

CTLMessageCenter::CTLMessageCenter(QWidget* parent) : FormPane(res::IDD_MESSAGECENTER, parent) {}

}  // namespace tl
