#include <unistd.h>

#include <QApplication>
#include <cstring>
#include <iostream>

#include "core/platform/ProgramVersion.h"

#include "gui/frame/TradeloomApp.h"
#include "gui/web/BrowserEngine.h"
#include "gui/widgets/QtUi.h"

int main(int argc, char** argv) {
    // Answered before any window system is needed, so packaging and scripts can ask it anywhere.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "tradeloom " << tl::programVersion() << "\n";
        return 0;
    }
    // The browser engine refuses to start its sandbox for the superuser and would end the
    // program; running as root, the browser panes run without it.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    tl::prepareBrowserEngine();
    // The browser panes share the window system's drawing contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    tl::QtUi desktopUi;
    tl::setUi(&desktopUi);
    tl::TradeloomApp tradeloom;
    if (!tradeloom.initInstance()) return tradeloom.startFailureCode();
    return QApplication::exec();
}
