#include "app/StandInMainWindow.h"

#include "app/Session.h"
#include "app/SessionStart.h"
#include "service/ListingOperations.h"

namespace tl {

StandInMainWindow::StandInMainWindow() {
    runSessionStart();
    setGeometry(0, 0, 840, 640);
}

StandInMainWindow::~StandInMainWindow() {
    LogOff(session().currentUserName);
}

}  // namespace tl
