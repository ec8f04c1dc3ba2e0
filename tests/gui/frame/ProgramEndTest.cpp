#include <gtest/gtest.h>

#include <QAction>
#include <QPointer>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <functional>

#include "core/platform/ProcessExit.h"
#include "core/session/Session.h"
#include "gui/frame/CMainFrame.h"
#include "gui/frame/TerminationSignals.h"
#include "gui/frame/TradeloomApp.h"
#include "gui/login/CLoginDlg.h"
#include "gui/messaging/CMessageCenterDlg.h"
#include "ids_frame.h"
#include "support/FrameStartFixture.h"

namespace tl {
namespace {

struct ProgramEndTest : test::FrameStartFixture {
    std::vector<int> exits;

    ProgramEndTest() : FrameStartFixture("<x/>") {
        setProcessExitHandler([this](int code) { exits.push_back(code); });
    }
    ~ProgramEndTest() override { setProcessExitHandler({}); }

    std::size_t logOffs() const {
        const std::vector<std::string> targets = server.targets();
        return static_cast<std::size_t>(
            std::count(targets.begin(), targets.end(), "/tradeloom/app/logoff.asp?username=ann"));
    }
};

// However the member or the desktop session ends the program, every window goes, the event loop
// would end, and the member is logged off exactly once.
TEST_F(ProgramEndTest, EveryWayOfEndingClosesAllWindowsAndLogsOffOnce) {
    const struct {
        const char* way;
        std::function<void(CMainFrame&)> end;
    } ways[] = {
        {"File > Exit", [](CMainFrame& frame) { frame.command(res::ID_APP_EXIT)->trigger(); }},
        {"close box", [](CMainFrame& frame) { frame.close(); }},
        {"SIGTERM", [](CMainFrame&) { ::raise(SIGTERM); }},
        {"SIGINT", [](CMainFrame&) { ::raise(SIGINT); }},
        {"SIGHUP", [](CMainFrame&) { ::raise(SIGHUP); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        const std::size_t before = logOffs();
        session().currentUserName.clear();
        ui.onModal([](ModalDialog&) { return kDialogCancel; });  // Escape on the login dialog
        {
            TradeloomApp app;
            ASSERT_TRUE(app.initInstance());
            session().currentUserName = "ann";
            auto* frame = dynamic_cast<CMainFrame*>(app.mainWindow());
            ASSERT_NE(frame, nullptr);
            QPointer<CMessageCenterDlg> message =
                CMessageCenterDlg::open("http://" + server.host() + "/tradeloom/app/message/");
            way.end(*frame);
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return !frame->isVisible() && message.isNull(); }, 5000));
            EXPECT_EQ(logOffs(), before);  // sent as the program winds down, not before
        }
        EXPECT_EQ(logOffs(), before + 1);
    }
    EXPECT_TRUE(exits.empty());
}

// A signal while the login dialog is open ends the program as the dialog's Exit does.
TEST_F(ProgramEndTest, ASignalDuringTheLoginEndsTheProgramLikeItsExit) {
    ui.onModal([](ModalDialog& modal) {
        ::raise(SIGTERM);
        QTest::qWait(50);
        return dynamic_cast<CLoginDlg*>(&modal) != nullptr ? kDialogCancel : kDialogOk;
    });
    TradeloomApp app;
    app.initInstance();
    EXPECT_EQ(exits, std::vector<int>{0});
}

TEST(TerminationSignals, HandBackTheHandlersFromBefore) {
    std::vector<int> seen;
    {
        TerminationSignals watch([&](int signal) { seen.push_back(signal); });
        ::raise(SIGHUP);
        ::raise(SIGINT);
        EXPECT_TRUE(QTest::qWaitFor([&] { return seen.size() == 2; }, 2000));
    }
    EXPECT_EQ(seen, (std::vector<int>{SIGHUP, SIGINT}));
    struct sigaction now {};
    ::sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

}  // namespace
}  // namespace tl
