#include "gui/login/SessionStart.h"

#include "core/session/ReferenceLists.h"
#include "core/session/Session.h"
#include "gui/login/CLoginDlg.h"

namespace tl {

void runSessionStart() {
    session().categoryFileName.clear();
    CLoginDlg login;
    refreshReferenceLists();
    session().categoryFileName = "NewTLTree.xml";
    ui().runModal(login);
}

}  // namespace tl
