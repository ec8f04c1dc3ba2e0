// The title word filter over a word list file: every word it reads must refuse a title made of
// that word.
#include "FuzzSupport.h"
#include "core/reflists/WordFilter.h"
#include "core/session/Session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tl;
    session().wordListFileName = "words.xml";
    fuzz::writeHomeFile("words.xml", fuzz::text(data, size));
    WordFilter filter;
    if (filter.Load() != 1) return 0;
    while (filter.HasNext()) filter.Next();
    for (const std::string& word : filter.Words())
        fuzz::require(filter.Check("a " + word + " b") == 0, "a listed word the filter lets by");
    filter.Check("An oak table");
    return 0;
}
