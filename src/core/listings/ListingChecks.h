#pragma once

#include <string>

#include "core/listings/CProductXml.h"

namespace tl {

// The checks both listing forms make before a listing goes out.

// Shows one message per empty required field (title, description, zip code, payment methods,
// quantity, category, escrow, price, in that order); true when none is empty. The forms
// differ only in the escrow message's caption.
inline constexpr char kBlankEscrowCaption[] = "Error: Blank Escrow Field";
inline constexpr char kNoEscrowCaption[] = "Error: No Escrow Data";
bool requiredFieldsGiven(const ListingValues& values, const char* escrowCaption);

// True when the title holds no word of the word filter. A word list that is missing or does not
// load leaves the title unchecked; an error while reading it shows "Loading Filter Failed" and
// leaves the title unchecked too.
bool titleAllowed(const std::string& title);

// The member's web link as stored: it always begins with "http://".
std::string linkWithScheme(const std::string& link);

}  // namespace tl
