#include <gtest/gtest.h>

#include <filesystem>

#include "core/platform/InstanceLock.h"
#include "core/platform/ProgramDirectory.h"
#include "support/ScopedSettings.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

TEST(ProgramDirectory, FoldersKeepTheirNamesUnderTheProgramDirectory) {
    test::TempProgramDirectory home;
    EXPECT_EQ(programDirectory(), home.path());
    EXPECT_EQ(productsDirectory(), home.path() + "products/");
    EXPECT_EQ(productsTempDirectory(), home.path() + "products/temp/");
    EXPECT_EQ(downloadsDirectory(), home.path() + "downloads/");
    EXPECT_EQ(usersDirectory(), home.path() + "users/");
}

TEST(ProgramDirectory, ARelativeSettingBecomesAnAbsoluteDirectory) {
    const std::string cwd = std::filesystem::current_path().string() + "/";
    const struct {
        const char* home;
        const char* data;
        std::string expected;
    } cases[] = {{"run/home", nullptr, cwd + "run/home/"},
                 {"./run/../home/", nullptr, cwd + "home/"},
                 {"/abs/home", nullptr, "/abs/home/"},
                 {nullptr, "data", cwd + "data/tradeloom/"}};
    for (const auto& c : cases) {
        test::ScopedEnv home("TRADELOOM_HOME",
                             c.home ? std::optional<std::string>(c.home) : std::nullopt);
        test::ScopedEnv data("XDG_DATA_HOME",
                             c.data ? std::optional<std::string>(c.data) : std::nullopt);
        EXPECT_EQ(programDirectory(), c.expected);
        EXPECT_EQ(productsDirectory(), c.expected + "products/");
    }
}

TEST(ProgramDirectory, BackslashInAStoredNameIsAFolderSeparator) {
    EXPECT_EQ(joinStoredName("/p/products/", "12\\photo.jpg"), "/p/products/12/photo.jpg");
    EXPECT_EQ(joinStoredName("/p/products", "12.xml"), "/p/products/12.xml");
}

TEST(ProgramDirectory, NamesFromOutsideMayNotLeaveTheirFolder) {
    EXPECT_TRUE(isSafeRelativeName("12.xml"));
    EXPECT_TRUE(isSafeRelativeName("12\\photo.jpg"));
    EXPECT_TRUE(isSafeRelativeName("temp/a b.png"));
    for (const char* bad : {"", "..", "../x.xml", "12\\..\\..\\x", "a/../../b", "/etc/passwd",
                            "\\x.xml", "C:\\x.xml", "c:x", "a//b", "a/./b", "a/"})
        EXPECT_FALSE(isSafeRelativeName(bad)) << bad;
    EXPECT_FALSE(isSafeRelativeName(std::string("a\0b", 3)));
}

TEST(ProgramDirectory, OnlyAPlainFileNameIsJoinedToItsFolder) {
    const std::pair<std::string, std::string> cases[] = {{"list-3.xml", "/p/list-3.xml"},
                                                         {"word list#2.xml", "/p/word list#2.xml"},
                                                         {"..xml", "/p/..xml"},
                                                         {"", ""},
                                                         {".", ""},
                                                         {"..", ""},
                                                         {"../x.xml", ""},
                                                         {"sub/x.xml", ""},
                                                         {"sub\\x.xml", ""},
                                                         {"/etc/passwd", ""},
                                                         {"C:x.xml", ""},
                                                         {std::string("a\0b", 3), ""}};
    for (const auto& [name, joined] : cases) EXPECT_EQ(plainFileIn("/p", name), joined) << name;
}

TEST(InstanceLock, ASecondCopyOnTheSameDirectoryIsRefusedAnotherDirectoryIsNot) {
    test::TempProgramDirectory first;
    test::TempProgramDirectory second;
    InstanceLock running;
    ASSERT_EQ(running.acquire(first.path()), InstanceLock::Result::Acquired);
    InstanceLock secondCopy;
    EXPECT_EQ(secondCopy.acquire(first.path()), InstanceLock::Result::HeldElsewhere);
    InstanceLock otherMember;
    EXPECT_EQ(otherMember.acquire(second.path()), InstanceLock::Result::Acquired);
}

}  // namespace
}  // namespace tl
