// The marketplace server's request values: a query text decoded by the HTTP library, the
// dispatcher's checks, and the readings and stored forms the handlers make of each value.
#include <httplib.h>

#include "FuzzSupport.h"
#include "RequestValues.h"
#include "Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tl::market;
    httplib::Params values;
    httplib::detail::parse_query_text(tl::fuzz::text(data, size), values);
    if (refusedValues(values)) return 0;
    for (const auto& [key, value] : values) {
        tl::fuzz::require(value.size() <= kMaxValueBytes && isValidUtf8(key) && isValidUtf8(value),
                          "an accepted value that is too long or not UTF-8");
        tl::fuzz::require(productIdValue(value) >= 0, "a negative product id");
        wholeNumber(value);
        parsePrice(value);
        fourDecimalPrice(value);
        tl::fuzz::require(characterCount(value) <= value.size(), "more characters than bytes");
        const std::string stored = storedText(value);
        tl::fuzz::require(isValidUtf8(stored), "a stored text that is not UTF-8");
        tl::fuzz::require(stored.find_first_of("<>") == std::string::npos,
                          "a stored text with markup");
        tl::fuzz::require(escapeMarkup(value).find_first_of("<>\"'") == std::string::npos,
                          "escaped text with markup");
    }
    return 0;
}
