#pragma once

#include <optional>
#include <string>

namespace tl {

// Copies the chosen picture into the products folder, where new listings pick up the card, and
// gives its file name. The copy is written through a temporary file, a file is never copied
// onto itself, and a listing or remembered-defaults document (".xml") is never replaced. Nothing
// when the card cannot be taken, after a "Card Error" box; the old card then stays.
std::optional<std::string> importBusinessCard(const std::string& source);

// Rewrites the member's remembered defaults with this card, keeping their other choices.
void rememberCard(const std::string& user, const std::string& card);

}  // namespace tl
