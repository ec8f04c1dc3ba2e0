#pragma once

#include <QMainWindow>
#include <memory>

#include "core/platform/InstanceLock.h"

namespace tl {

class ListingServer;

// The application object: runs the start-up sequence and owns what lives until exit.
class TradeloomApp {
public:
    TradeloomApp();
    ~TradeloomApp();

    // False ends the program at once, with startFailureCode() as its exit code; true runs it.
    bool initInstance();
    int startFailureCode() const { return startFailureCode_; }
    QMainWindow* mainWindow() const { return mainWindow_.get(); }

private:
    InstanceLock instanceLock_;
    int startFailureCode_ = 0;
    std::unique_ptr<QMainWindow> mainWindow_;
    std::unique_ptr<ListingServer> listingServer_;  // null when its port could not be opened
};

}  // namespace tl
