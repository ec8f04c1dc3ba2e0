#include <QApplication>

#include "app/TradeloomApp.h"
#include "platform/QtUi.h"

int main(int argc, char** argv) {
    // The browser panes share the window system's drawing contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    tl::QtUi desktopUi;
    tl::setUi(&desktopUi);
    tl::TradeloomApp tradeloom;
    if (!tradeloom.initInstance()) return 0;
    return QApplication::exec();
}
