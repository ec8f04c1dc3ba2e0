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

TEST_F(WordFilterTest, WordsAreCaseSensitiveSubstrings) {
    list("<wordlist><words><word>cat</word><word>Bad</word></words></wordlist>");
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(filter.Words(), (Words{"cat", "Bad"}));
    EXPECT_EQ(filter.Check("Vacation home"), 0);
    EXPECT_EQ(filter.Check("VACATION HOME"), 1);
    EXPECT_EQ(filter.Check("Badminton set"), 0);
    EXPECT_EQ(filter.Check("bad"), 1);
    EXPECT_EQ(filter.Check(""), 1);
}

TEST_F(WordFilterTest, WordsAreNotTrimmed) {
    list("<wordlist>\n <words>\n  <word> cat </word><word>  </word>\n </words>\n</wordlist>");
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(filter.Words(), (Words{" cat ", "  "}));
    EXPECT_EQ(filter.Check("Rocking chair"), 1);
    EXPECT_EQ(filter.Check("Rocking  chair"), 0);
    EXPECT_EQ(filter.Check("Vacation home"), 1);
    EXPECT_EQ(filter.Check("cat sits"), 1);
    EXPECT_EQ(filter.Check("my cat sits"), 0);
}

TEST_F(WordFilterTest, AnEmptyWordMatchesEveryTitle) {
    list("<wordlist><words><word>dog</word><word/></words></wordlist>");
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(filter.Check("Rocking chair"), 0);
    EXPECT_EQ(filter.Check(""), 0);
}

TEST_F(WordFilterTest, EveryElementFromTheThirdOnIsAWordWhateverItsName) {
    list("<a>x<b>cat</b><c>dog</c><d><e>eel</e></d></a>");
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(filter.Words(), (Words{"dog", "eel", "eel"}));  // d's text is its child's text
    EXPECT_EQ(filter.Check("catalogue"), 1);
    EXPECT_EQ(filter.Check("hotdog"), 0);
}

TEST_F(WordFilterTest, AListWithFewerThanThreeElementsRejectsNothing) {
    list("<wordlist><words>cat</words></wordlist>");
    ASSERT_EQ(load(), 1);
    EXPECT_TRUE(filter.Words().empty());
    EXPECT_EQ(filter.Check("cat"), 1);
    EXPECT_EQ(filter.Check(""), 1);
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
