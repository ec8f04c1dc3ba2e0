#pragma once

#include <string>

namespace tl::market {

// Salted password hashes: "pbkdf2-sha256$<iterations>$<salt hex>$<hash hex>".
std::string hashPassword(const std::string& password);
bool passwordMatchesHash(const std::string& password, const std::string& stored);

// A fresh random password of letters and digits, for the lost-password mail.
std::string temporaryPassword();

}  // namespace tl::market
