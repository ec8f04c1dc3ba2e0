#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "core/platform/Files.h"
#include "core/platform/StaleTemporaries.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

int filesIn(const std::string& folder) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

// A fetched copy, not forced to the disk, is replaced as atomically as a lasting file.
TEST(Files, AtomicWriteReplacesTheFileAndLeavesNoScratch) {
    for (const Durability durability : {Durability::Lasting, Durability::Refetchable}) {
        test::TempProgramDirectory home;
        const std::string path = home.path() + "a.xml";
        ASSERT_TRUE(writeFileAtomically(path, "first", durability));
        {
            AtomicFileWriter writer(path, durability);
            ASSERT_TRUE(writer.write(std::string("se\0cond", 7)));
            EXPECT_EQ(*readWholeFile(path), "first") << "replaced only at commit";
            ASSERT_TRUE(writer.commit());
        }
        EXPECT_EQ(*readWholeFile(path), std::string("se\0cond", 7));
        EXPECT_EQ(filesIn(home.path()), 1);
        EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::others_read,
                  std::filesystem::perms::others_read);
    }
}

// Every way a replacement can fail leaves the old file byte for byte and no temporary beside it.
TEST(Files, AFailedReplacementLeavesTheOldFileAndNoTemporary) {
    test::TempProgramDirectory home;
    const std::string old("old\0bytes", 9);
    const struct {
        const char* why;
        std::function<bool(const std::string& path)> replace;
    } cases[] = {
        {"the disk takes no more than 1 KiB",
         [](const std::string& path) {
             std::signal(SIGXFSZ, SIG_IGN);
             rlimit saved{};
             ::getrlimit(RLIMIT_FSIZE, &saved);
             rlimit small = saved;
             small.rlim_cur = 1024;
             ::setrlimit(RLIMIT_FSIZE, &small);
             const bool written = writeFileAtomically(path, std::string(4096, 'n'));
             ::setrlimit(RLIMIT_FSIZE, &saved);
             return written;
         }},
        {"a streamed file that is never committed",
         [](const std::string& path) {
             AtomicFileWriter writer(path);
             writer.write("half of the new");
             return false;
         }},
    };
    for (const auto& c : cases) {
        home.write("products/a.xml", old);
        EXPECT_FALSE(c.replace(home.path() + "products/a.xml")) << c.why;
        EXPECT_EQ(home.read("products/a.xml"), old) << c.why;
        EXPECT_EQ(filesIn(home.path() + "products"), 1) << c.why;
    }
    EXPECT_FALSE(writeFileAtomically(home.path() + "missing/a.xml", "x"));
    EXPECT_FALSE(home.exists("missing"));
}

// A program killed in the middle of a write leaves the writer's temporary behind; the next start
// removes exactly those, in our folders, and nothing that merely looks alike.
TEST(StaleTemporaries, StartRemovesOnlyTheWritersLeftoversInOurFolders) {
    test::TempProgramDirectory home;
    for (const char* folder : {"downloads/7/sub", "products", "elsewhere"})
        std::filesystem::create_directories(home.path() + folder);
    const pid_t child = ::fork();
    if (child == 0) {  // killed mid-download: the writer's destructor never runs
        auto* writer = new AtomicFileWriter(home.path() + "downloads/7/sub/photo.jpg");
        writer->write("half");
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    const char* stale[] = {"downloads/.7.xml.part.Ab12Cd",      "products/.3.xml.part.aaaaaa",
                           "products/4/.front.jpg.part.Q1w2E3", "users/.ann.xml.part.bbbbbb",
                           "drafts/..xml.part.cccccc",          ".words.xml.part.dddddd"};
    const char* kept[] = {"downloads/7/photo.jpg.part.Ab12Cd", "downloads/.hidden",
                          "products/.photo.part.abc",          "products/.x.part.abcdefg",
                          "products/.x.part.abc-ef",           "products/..part.abcdef",
                          "elsewhere/.x.xml.part.abcdef",      "products/3.xml"};
    for (const char* name : stale) home.write(name, "left");
    for (const char* name : kept) home.write(name, "mine");
    std::filesystem::create_symlink(home.path() + "elsewhere/.x.xml.part.abcdef",
                                    home.path() + "products/.link.xml.part.abcdef");
    std::filesystem::create_directory(home.path() + "products/.folder.part.abcdef");

    removeStaleTemporaries();

    EXPECT_EQ(filesIn(home.path() + "downloads/7/sub"), 0);
    for (const char* name : stale) EXPECT_FALSE(home.exists(name)) << name;
    for (const char* name : kept) EXPECT_TRUE(home.exists(name)) << name;
    EXPECT_TRUE(std::filesystem::is_symlink(home.path() + "products/.link.xml.part.abcdef"));
    EXPECT_TRUE(home.exists("products/.folder.part.abcdef"));
}

}  // namespace
}  // namespace tl
