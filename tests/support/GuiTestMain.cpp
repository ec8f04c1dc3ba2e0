#include <gtest/gtest.h>

#include <QApplication>

#include "core/peer/ListingServerStart.h"
#ifdef TRADELOOM_TESTS_ON_POSTGRES
#include "TestDatabase.h"
#endif

// GUI tests share one application object, created before any test runs. They run on the
// offscreen platform (also when the test list is read at build time), with the browser engine
// unsandboxed, since tests may run as root. A program started by a test serves its listings on an
// ephemeral loopback port, leaves the router alone and asks the marketplace server nothing about
// reachability.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    tl::setListingServerSetup({0, "127.0.0.1", false, false});
    ::testing::InitGoogleTest(&argc, argv);
#ifdef TRADELOOM_TESTS_ON_POSTGRES
    // The same cases with the marketplace server on PostgreSQL.
    if (!::testing::GTEST_FLAG(list_tests)) tl::test::usePostgresForTheRun();
#endif
    return RUN_ALL_TESTS();
}
