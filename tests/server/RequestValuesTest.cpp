#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "RequestValues.h"

namespace tl::market {
namespace {

TEST(RequestValues, NumbersAreWholeDecimalTextAndProductIdsNeverNegative) {
    struct Case {
        std::string text;
        std::optional<std::int64_t> number;
        std::int64_t productId;
    };
    const Case cases[] = {
        {"12", 12, 12},
        {"-3", -3, 0},
        {"0", 0, 0},
        {"", std::nullopt, 0},
        {"+5", std::nullopt, 0},
        {" 5", std::nullopt, 0},
        {"5 ", std::nullopt, 0},
        {"12a", std::nullopt, 0},
        {"99999999999999999999", std::nullopt, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(wholeNumber(c.text), c.number);
        EXPECT_EQ(productIdValue(c.text), c.productId);
    }
}

TEST(RequestValues, LongOrNonUtf8KeysAndValuesAreRefused) {
    const std::string longest(kMaxValueBytes, 'a');
    const std::string tooLong = longest + "a";
    const std::string tooLongWhy = "A request value is longer than 4096 bytes.";
    const std::string notText = "A request value is not UTF-8 text.";
    struct Case {
        std::string key, value;
        std::optional<std::string> why;
    };
    const Case cases[] = {
        {"titlebar", "Caf\xC3\xA9 " + longest.substr(7), std::nullopt},
        {longest, "x", std::nullopt},
        {"titlebar", tooLong, tooLongWhy},
        {tooLong, "", tooLongWhy},
        {"titlebar", "\xFF\xFE", notText},
        {"\xC0\xAF", "x", notText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key.substr(0, 10) + "=" + c.value.substr(0, 10));
        EXPECT_EQ(refusedValues({{"username", "ann"}, {c.key, c.value}}), c.why);
    }
}

}  // namespace
}  // namespace tl::market
