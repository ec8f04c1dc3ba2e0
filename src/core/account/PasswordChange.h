#pragma once

#include <cstddef>
#include <string>

namespace tl {

// Number of characters of UTF-8 text, as the member counts them.
std::size_t characterCount(const std::string& text);

// A password the member may choose: 5 to 10 characters.
bool isAcceptedPasswordLength(const std::string& password);

enum class PasswordChange { Accepted, WrongOld, BadLength, Mismatch };

// Checks the change-password form against the member's current password and shows the box for
// the first unmet rule.
PasswordChange checkPasswordChange(const std::string& current, const std::string& old,
                                   const std::string& fresh, const std::string& again);

}  // namespace tl
