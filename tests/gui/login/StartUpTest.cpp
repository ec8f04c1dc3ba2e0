#include <gtest/gtest.h>

#include "core/platform/InstanceLock.h"
#include "gui/frame/TradeloomApp.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;

TEST(StartUp, AnUnusableProgramFolderIsReportedASecondCopyEndsSilently) {
    test::TempProgramDirectory home;
    home.write("blocker", "a file where a folder would have to be");
    const std::string unusable = home.path() + "blocker/tradeloom/";
    {
        ScriptedUi ui;
        test::ScopedProgramDirectory directory(unusable);
        TradeloomApp app;
        EXPECT_FALSE(app.initInstance());
        EXPECT_NE(app.startFailureCode(), 0);
        EXPECT_EQ(app.mainWindow(), nullptr);
        EXPECT_EQ(ui.boxes(), (Boxes{{"Tradeloom", "The program folder " + unusable +
                                                       " cannot be created or written to. "
                                                       "Tradeloom cannot start."}}));
    }
    {
        ScriptedUi ui;
        test::ScopedProgramDirectory directory(home.path());
        InstanceLock firstCopy;
        ASSERT_EQ(firstCopy.acquire(home.path()), InstanceLock::Result::Acquired);
        TradeloomApp secondCopy;
        EXPECT_FALSE(secondCopy.initInstance());
        EXPECT_EQ(secondCopy.startFailureCode(), 0);
        EXPECT_TRUE(ui.boxes().empty());
    }
}

}  // namespace
}  // namespace tl
