#include <gtest/gtest.h>

#include "core/service/Query.h"

namespace tl {
namespace {

TEST(QueryText, CleanerTurnsAmpersandAndNumberSignIntoWords) {
    EXPECT_EQ(cleanQueryText("Tom & Jerry #2"), "Tom and Jerry number 2");
    EXPECT_EQ(cleanQueryText("&&##"), "andandnumber number ");
    EXPECT_EQ(cleanQueryText("plain text?=%"), "plain text?=%");
}

TEST(QueryText, ValuesArePercentEncodedSoTheyCannotAddKeys) {
    Query q("/tradeloom/app/login.asp");
    q.add("username", "a b&c=d#e").add("password", "p%+/ü");
    EXPECT_EQ(q.pathAndQuery(),
              "/tradeloom/app/login.asp?username=a%20b%26c%3Dd%23e&password=p%25%2B%2F%C3%BC");
}

TEST(QueryText, CleanedValuesAreCleanedBeforeEncoding) {
    Query q("/p");
    q.addCleaned("titlebar", "Tom & Jerry #2").add("empty", "");
    EXPECT_EQ(q.pathAndQuery(), "/p?titlebar=Tom%20and%20Jerry%20number%202&empty=");
}

}  // namespace
}  // namespace tl
