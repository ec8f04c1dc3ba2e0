#pragma once

#include <string>

#include "core/account/AccountRequests.h"

namespace tl {

// What the registration form holds.
struct RegistrationForm {
    std::string username, password, password2, firstname, lastname, address, city, state, zipcode,
        country, phone, email, connection, club1, club2;
    std::string contact = "Email";
};

// The connection type of a member who did not say.
inline constexpr char kUnknownConnection[] = "I Don't Know";

// Runs the form's checks in order, one box per unmet rule, and empties what a refused rule
// empties (the user name, the passwords). True when the account may be requested.
bool checkRegistrationForm(RegistrationForm& form);

// Asks the server to create the account. Only once it has, the member's user document is
// written and the password mailed; a taken name is reported and touches no local file.
NewUserReply registerMember(const RegistrationForm& form);

}  // namespace tl
