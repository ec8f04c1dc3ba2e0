#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace tl {

// The text with each listed character replaced by its substitute, in one pass: a substitute is
// never looked at again, so substitutes may hold listed characters.
std::string replaceCharacters(std::string_view text,
                              std::initializer_list<std::pair<char, std::string_view>> substitutes);

}  // namespace tl
