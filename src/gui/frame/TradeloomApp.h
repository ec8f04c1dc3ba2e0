#pragma once

#include <QMainWindow>
#include <memory>

#include "core/platform/InstanceLock.h"

namespace tl {

class CServerThread;

// The application object: runs the start-up sequence and owns what lives until exit.
class TradeloomApp {
public:
    TradeloomApp();
    ~TradeloomApp();

    // False ends the program at once; true runs it.
    bool initInstance();
    QMainWindow* mainWindow() const { return mainWindow_.get(); }

private:
    InstanceLock instanceLock_;
    std::unique_ptr<QMainWindow> mainWindow_;
    std::unique_ptr<CServerThread> listingServer_;  // null when its port could not be opened
};

}  // namespace tl
