#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "core/listings/FileScramble.h"
#include "core/platform/Files.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

int filesIn(const std::string& folder) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

TEST(Files, AtomicWriteReplacesTheFileAndLeavesNoScratch) {
    test::TempProgramDirectory home;
    const std::string path = home.path() + "a.xml";
    ASSERT_TRUE(writeFileAtomically(path, "first"));
    ASSERT_TRUE(writeFileAtomically(path, std::string("se\0cond", 7)));
    EXPECT_EQ(*readWholeFile(path), std::string("se\0cond", 7));
    EXPECT_EQ(filesIn(home.path()), 1);
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::others_read,
              std::filesystem::perms::others_read);
}

TEST(Files, AtomicWriteIntoAMissingFolderFailsAndCreatesNothing) {
    test::TempProgramDirectory home;
    EXPECT_FALSE(writeFileAtomically(home.path() + "missing/a.xml", "x"));
    EXPECT_EQ(filesIn(home.path()), 0);
}

TEST(FileScramble, TwiceGivesBackTheOriginalBytesOnceChangesEveryByte) {
    test::TempProgramDirectory home;
    std::string original;
    for (int i = 0; i < 10000; ++i) original += static_cast<char>(i * 7);
    home.write("products/1.xml", original);
    const std::string path = home.path() + "products/1.xml";

    ASSERT_EQ(ToggleFileScramble(path), 1);
    const std::string scrambled = home.read("products/1.xml");
    ASSERT_EQ(scrambled.size(), original.size());
    for (std::size_t i = 0; i < original.size(); ++i)
        ASSERT_EQ(static_cast<unsigned char>(scrambled[i] ^ original[i]), 0x57u);
    ASSERT_EQ(ToggleFileScramble(path), 1);
    EXPECT_EQ(home.read("products/1.xml"), original);
    EXPECT_EQ(filesIn(home.path() + "products"), 1);
}

TEST(FileScramble, MissingFileOrFolderGivesZeroAndCreatesNothing) {
    test::TempProgramDirectory home;
    EXPECT_EQ(ToggleFileScramble(home.path() + "nothing.xml"), 0);
    EXPECT_EQ(ToggleFileScramble("http://127.0.0.1/tradeloom/app/home.asp"), 0);
    std::filesystem::create_directory(home.path() + "folder.xml");
    EXPECT_EQ(ToggleFileScramble(home.path() + "folder.xml"), 0);
    EXPECT_EQ(filesIn(home.path()), 1);
    EXPECT_FALSE(home.exists("Encrypted.xml"));
}

TEST(FileScramble, TwoThreadsTogglingTwoFilesDoNotClobberEachOther) {
    test::TempProgramDirectory home;
    const std::string a(50000, 'a'), b(30000, 'b');
    home.write("products/a.xml", a);
    home.write("products/b.xml", b);
    auto toggleOften = [&](const std::string& name) {
        for (int i = 0; i < 200; ++i) ToggleFileScramble(home.path() + "products/" + name);
    };
    std::thread first(toggleOften, "a.xml"), second(toggleOften, "b.xml");
    first.join();
    second.join();
    EXPECT_EQ(home.read("products/a.xml"), a);
    EXPECT_EQ(home.read("products/b.xml"), b);
    EXPECT_EQ(filesIn(home.path() + "products"), 2);
}

}  // namespace
}  // namespace tl
