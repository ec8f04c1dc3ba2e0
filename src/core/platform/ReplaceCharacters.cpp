#include "core/platform/ReplaceCharacters.h"

namespace tl {

std::string replaceCharacters(
    std::string_view text, std::initializer_list<std::pair<char, std::string_view>> substitutes) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        const auto* found = substitutes.begin();
        while (found != substitutes.end() && found->first != c) ++found;
        if (found != substitutes.end())
            out += found->second;
        else
            out += c;
    }
    return out;
}

}  // namespace tl
