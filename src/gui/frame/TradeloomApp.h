#pragma once

#include <QMainWindow>
#include <memory>

#include "core/platform/InstanceLock.h"

namespace tl {

class ListingServer;
class TerminationSignals;

// The application object: runs the start-up sequence and owns what lives until exit. The
// signals a desktop session sends at log-out or shutdown end the program as File > Exit does.
class TradeloomApp {
public:
    TradeloomApp();
    ~TradeloomApp();

    // False ends the program at once, with startFailureCode() as its exit code; true runs it.
    bool initInstance();
    int startFailureCode() const { return startFailureCode_; }
    QMainWindow* mainWindow() const { return mainWindow_.get(); }

private:
    void onTerminationSignal();

    InstanceLock instanceLock_;
    int startFailureCode_ = 0;
    bool endRequested_ = false;
    std::unique_ptr<TerminationSignals> signals_;
    std::unique_ptr<QMainWindow> mainWindow_;
    std::unique_ptr<ListingServer> listingServer_;  // null when its port could not be opened
};

}  // namespace tl
