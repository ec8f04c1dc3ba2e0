#include "app/SessionStart.h"

#include "app/CLoginDlg.h"
#include "app/ReferenceLists.h"
#include "app/Session.h"

namespace tl {

void runSessionStart() {
    session().categoryFileName.clear();
    CLoginDlg login;
    refreshReferenceLists();
    session().categoryFileName = "NewTLTree.xml";
    ui().runModal(login);
}

}  // namespace tl
