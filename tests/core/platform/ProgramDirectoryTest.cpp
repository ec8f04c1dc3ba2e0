#include <gtest/gtest.h>

#include "core/platform/InstanceLock.h"
#include "core/platform/ProgramDirectory.h"
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

TEST(InstanceLock, ASecondCopyOnTheSameDirectoryIsRefusedAnotherDirectoryIsNot) {
    test::TempProgramDirectory first;
    test::TempProgramDirectory second;
    InstanceLock running;
    ASSERT_TRUE(running.acquire(first.path()));
    InstanceLock secondCopy;
    EXPECT_FALSE(secondCopy.acquire(first.path()));
    InstanceLock otherMember;
    EXPECT_TRUE(otherMember.acquire(second.path()));
}

}  // namespace
}  // namespace tl
