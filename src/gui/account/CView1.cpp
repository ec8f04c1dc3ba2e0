#include "gui/account/CView1.h"

#include "gui/frame/SessionStart.h"
#include "ids_frame.h"

namespace tl {

CView1::CView1(QWidget* parent) : FormPane(res::IDD_VIEW1, parent) {
    runSessionStart();
}

}  // namespace tl
