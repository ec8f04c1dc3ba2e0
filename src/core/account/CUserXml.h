#pragma once

#include <string>

#include "core/service/Endpoints.h"

namespace tl {

// The texts of a member's user document, in the order the document keeps them.
struct UserValues {
    std::string firstname, lastname, email, address, city, state, zipcode, contact, connection,
        phone, username, country, club1, club2;
};

// The member's user document, users/<user name>.xml: a "user" element with one element per
// value. The password travels with the account requests but is never written to the file.
class CUserXml {
public:
    UserValues values;
    std::string password;

    // Writes the document afresh under the values' user name. False when the name cannot name a
    // document or the file cannot be written (the old file then stays as it was).
    bool Save() const;
    // Save, showing "Unable to Save User document." when it fails.
    bool SaveOrReport() const;
    // Reads the member's document; false (and every value empty) when there is none to read.
    bool Load(const std::string& user);

    // The values and the password as the registration and profile requests carry them.
    endpoints::MemberFields memberFields() const;
};

}  // namespace tl
