#include "core/listings/StoredListing.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/listings/FileScramble.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

std::string scrambled(std::string bytes) {
    scrambleBytes(bytes);
    return bytes;
}

TEST(StoredListing, IsWrittenScrambledInOnePieceAndReadBackPlain) {
    test::TempProgramDirectory home;
    std::string plain = "<product>";
    for (int i = 0; i < 10000; ++i) plain += static_cast<char>(i * 7);
    EXPECT_FALSE(writeStoredListing(home.path() + "products/1.xml", plain));  // no folder
    std::filesystem::create_directory(home.path() + "products");
    ASSERT_TRUE(writeStoredListing(home.path() + "products/1.xml", plain));

    const std::string stored = home.read("products/1.xml");
    ASSERT_EQ(stored.size(), plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i)
        ASSERT_EQ(static_cast<unsigned char>(stored[i] ^ plain[i]), 0x57u) << i;
    EXPECT_EQ(readStoredListing(home.path() + "products/1.xml"), plain);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.path() + "products"), {}), 1);
}

TEST(StoredListing, PlainTextOfScrambledOrLeftPlainBytes) {
    const struct {
        std::string stored, plain;
    } cases[] = {
        {scrambled("<product/>"), "<product/>"},
        {scrambled(" \r\n<product/>"), " \r\n<product/>"},
        {scrambled("\xEF\xBB\xBF<product/>"), "\xEF\xBB\xBF<product/>"},
        {"<product/>", "<product/>"},  // left plain
        {"\n\t<product/>", "\n\t<product/>"},
        {"\xEF\xBB\xBF<product/>", "\xEF\xBB\xBF<product/>"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(plainListingText(c.stored), c.plain) << c.plain;
}

TEST(StoredListing, OnlyARegularFileOfListingSizeIsRead) {
    test::TempProgramDirectory home;
    home.write("products/large.xml", std::string(kLargestStoredListing + 1, 'k'));
    std::filesystem::create_directories(home.path() + "products/folder.xml");
    for (const char* name : {"large.xml", "folder.xml", "missing.xml"})
        EXPECT_FALSE(readStoredListing(home.path() + "products/" + name)) << name;
}

}  // namespace
}  // namespace tl
