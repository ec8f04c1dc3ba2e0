#include "gui/frame/TradeloomApp.h"

#include <QCoreApplication>
#include <csignal>

#include "core/peer/ListingServerStart.h"
#include "core/platform/ProcessExit.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/ProgramVersion.h"
#include "core/platform/StaleTemporaries.h"
#include "core/platform/Ui.h"
#include "core/session/Heartbeat.h"
#include "core/session/Session.h"
#include "gui/frame/CMainFrame.h"
#include "gui/frame/TerminationSignals.h"
#include "ids_app.h"

namespace tl {
namespace {

// Sockets need no start-up here, but a peer that closes early must not end the program with
// SIGPIPE, so the signal is ignored before any socket is used.
bool prepareSockets() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    return ::sigaction(SIGPIPE, &ignore, nullptr) == 0;
}

// What the member is told when the program directory cannot be created or written.
std::string unusableDirectoryText(const std::string& directory) {
    return "The program folder " + directory +
           " cannot be created or written to. Tradeloom cannot start.";
}

}  // namespace

TradeloomApp::TradeloomApp() = default;

TradeloomApp::~TradeloomApp() {
    mainWindow_.reset();  // destroying the main window sends the log-off
    stopSessionHeartbeat();
    listingServer_.reset();  // stops serving and removes the router mapping
    signals_.reset();
}

void TradeloomApp::onTerminationSignal() {
    if (mainWindow_) {
        mainWindow_->close();  // as File > Exit: the event loop ends and the member is logged off
        return;
    }
    // The login dialog is open: the signal ends the program as its Exit does.
    if (session().currentUserName.empty()) return endProcess(0);
    endRequested_ = true;  // logged in, the main window still being built
}

bool TradeloomApp::initInstance() {
    const std::string directory = programDirectory();
    switch (instanceLock_.acquire(directory)) {
        case InstanceLock::Result::Acquired:
            break;
        case InstanceLock::Result::HeldElsewhere:
            return false;  // a second copy ends silently
        case InstanceLock::Result::DirectoryUnusable:
            ui().messageBox("Tradeloom", unusableDirectoryText(directory), MessageButtons::Ok,
                            MessageIcon::Error);
            startFailureCode_ = 1;
            return false;
    }
    // Only now that no other copy can be writing: what an earlier run left half written goes.
    removeStaleTemporaries();
    if (!prepareSockets()) {
        ui().messageBox("Tradeloom", res::kSocketsInitFailedText);
        return false;
    }
    QCoreApplication::setOrganizationName("Local AppWizard-Generated Applications");
    QCoreApplication::setApplicationName("Tradeloom");

    signals_ = std::make_unique<TerminationSignals>([this](int) { onTerminationSignal(); });
    mainWindow_ = std::make_unique<CMainFrame>();
    if (endRequested_) {
        mainWindow_.reset();
        return false;
    }
    mainWindow_->setWindowTitle(QString::fromStdString(programTitle()));
    mainWindow_->show();
    listingServer_ = startListingServer();
    return true;
}

}  // namespace tl
