#include <gtest/gtest.h>

#include <filesystem>

#include "core/reflists/WordFilter.h"
#include "core/session/Session.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using Words = std::vector<std::string>;

struct WordFilterTest : ::testing::Test {
    test::TempProgramDirectory home;
    ScriptedUi ui;
    WordFilter filter;
    WordFilterTest() {
        session() = Session{};
        session().wordListFileName = "wordlist-3.xml";
    }
    ~WordFilterTest() override { EXPECT_TRUE(ui.boxes().empty()); }

    void list(const std::string& xml) { home.write("wordlist-3.xml", xml); }
    // Loads the filter the way the listing forms do, reading every word.
    int load() {
        const int loaded = filter.Load();
        if (loaded == 1) {
            while (filter.HasNext()) EXPECT_EQ(filter.Next(), 1);
        }
        return loaded;
    }
};

// Each list is read in full; Check gives 1 for a title that holds none of the words.
TEST_F(WordFilterTest, ReadsTheWordsAsStoredAndChecksTitlesForThem) {
    struct Case {
        const char* list;
        Words words;
        std::vector<std::pair<const char*, int>> checks;
    };
    const Case cases[] = {
        // Words are case-sensitive substrings.
        {"<wordlist><words><word>cat</word><word>Bad</word></words></wordlist>",
         {"cat", "Bad"},
         {{"Vacation home", 0}, {"VACATION HOME", 1}, {"Badminton set", 0}, {"bad", 1}, {"", 1}}},
        // Words are taken as stored: spaces around them, or a word of spaces alone, count.
        {"<wordlist>\n <words>\n  <word> cat </word><word>  </word>\n </words>\n</wordlist>",
         {" cat ", "  "},
         {{"Rocking chair", 1}, {"Rocking  chair", 0}, {"cat sits", 1}, {"my cat sits", 0}}},
        // An empty word is in every title.
        {"<wordlist><words><word>dog</word><word/></words></wordlist>",
         {"dog", ""},
         {{"Rocking chair", 0}, {"", 0}}},
        // Every element from the third on is a word, whatever its name; d's text is its child's.
        {"<a>x<b>cat</b><c>dog</c><d><e>eel</e></d></a>",
         {"dog", "eel", "eel"},
         {{"catalogue", 1}, {"hotdog", 0}}},
        // A list of fewer than three elements rejects nothing.
        {"<wordlist><words>cat</words></wordlist>", {}, {{"cat", 1}, {"", 1}}},
    };
    for (const Case& c : cases) {
        list(c.list);
        WordFilter read;
        ASSERT_EQ(read.Load(), 1) << c.list;
        while (read.HasNext()) EXPECT_EQ(read.Next(), 1);
        EXPECT_EQ(read.Words(), c.words) << c.list;
        for (const auto& [title, expected] : c.checks)
            EXPECT_EQ(read.Check(title), expected) << c.list << " / " << title;
    }
}

TEST_F(WordFilterTest, AMissingOrMalformedListDoesNotLoadAndLetsEveryTitleThrough) {
    EXPECT_EQ(load(), 0);
    EXPECT_EQ(filter.Check("anything"), 1);
    list("<wordlist><words><word>cat</word></words>");
    WordFilter malformed;
    EXPECT_EQ(malformed.Load(), 0);
    EXPECT_EQ(malformed.Check("cat"), 1);
}

TEST_F(WordFilterTest, ASecondLoadReadsNothingAgain) {
    list("<wordlist><words><word>cat</word></words></wordlist>");
    ASSERT_EQ(load(), 1);
    list("<wordlist><words><word>dog</word></words></wordlist>");
    EXPECT_EQ(filter.Load(), 0);
    EXPECT_EQ(filter.Check("cat"), 0);
    EXPECT_EQ(filter.Check("dog"), 1);
    EXPECT_EQ(filter.Next(), 0);
}

TEST_F(WordFilterTest, ANameThatLeavesTheProgramDirectoryOrIsEmptyIsRefused) {
    // Each name would reach a readable list if it were not refused.
    list("<wordlist><words><word>cat</word></words></wordlist>");
    home.write("sub/placeholder", "");
    const std::string folder = std::filesystem::path(home.path()).parent_path().filename();
    for (const std::string& name :
         {std::string("sub/../wordlist-3.xml"), "../" + folder + "/wordlist-3.xml",
          home.path() + "wordlist-3.xml", std::string()}) {
        session().wordListFileName = name;
        WordFilter refused;
        EXPECT_EQ(refused.Load(), 0) << name;
    }
}

}  // namespace
}  // namespace tl
