#include "core/account/PasswordChange.h"

#include "core/platform/Ui.h"

namespace tl {

std::size_t characterCount(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

bool isAcceptedPasswordLength(const std::string& password) {
    const std::size_t length = characterCount(password);
    return length >= 5 && length <= 10;
}

PasswordChange checkPasswordChange(const std::string& current, const std::string& old,
                                   const std::string& fresh, const std::string& again) {
    if (old != current) {
        ui().messageBox("Password Error", "Incorret Old Password");
        return PasswordChange::WrongOld;
    }
    if (fresh == again && isAcceptedPasswordLength(fresh)) return PasswordChange::Accepted;
    if (fresh == again) {
        ui().messageBox("Password Length Error", "Please Choose a Password 5-10 characters");
        return PasswordChange::BadLength;
    }
    ui().messageBox("Password Error", "Passwords did not match");
    return PasswordChange::Mismatch;
}

}  // namespace tl
