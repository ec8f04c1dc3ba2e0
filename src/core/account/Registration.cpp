#include "core/account/Registration.h"

#include "core/account/CUserXml.h"
#include "core/account/PasswordChange.h"
#include "core/account/UserNames.h"
#include "core/platform/Ui.h"

namespace tl {
namespace {

struct RequiredField {
    std::string RegistrationForm::*value;
    const char* caption;
    const char* text;
};
constexpr RequiredField kRequired[] = {
    {&RegistrationForm::firstname, "Error: Blank first Name", "Please Enter your First Name"},
    {&RegistrationForm::lastname, "Error: Blank Last Name", "Please Enter your Last Name"},
    {&RegistrationForm::address, "Error: Blank Address", "Please Enter your Address"},
    {&RegistrationForm::city, "Error: Blank City", "Please Enter your City"},
    {&RegistrationForm::phone, "Error: Blank Phone Number", "Please Enter your Phone Number"},
    {&RegistrationForm::state, "Error: Blank State Field", "Please Enter your State"},
    {&RegistrationForm::zipcode, "Error: Blank Zip Code", "Please Enter your Zip Code"},
};

CUserXml userDocument(const RegistrationForm& f) {
    CUserXml user;
    user.values =
        UserValues{f.firstname, f.lastname,   f.email, f.address,  f.city,    f.state, f.zipcode,
                   f.contact,   f.connection, f.phone, f.username, f.country, f.club1, f.club2};
    user.password = f.password;
    return user;
}

}  // namespace

bool checkRegistrationForm(RegistrationForm& f) {
    const std::size_t nameLength = characterCount(f.username);
    if (nameLength < 5 || nameLength > 50) {
        ui().messageBox("User Name Length Warning",
                        "Please select a User Name between 5 and 10 characters long");
        f.username.clear();
    } else if (!isCarriableUserName(f.username)) {
        ui().messageBox("User Name Error",
                        "A User Name cannot contain &, #, /, \\ or two dots in a row.  Please "
                        "choose another name.");
        f.username.clear();
    }
    if (!isAcceptedPasswordLength(f.password)) {
        ui().messageBox("Password Length Warning",
                        "Please Create a Password between 5 and 10 characters long");
        f.password.clear();
        f.password2.clear();
    }
    if (f.connection.empty()) f.connection = kUnknownConnection;
    bool complete = true;
    for (const RequiredField& field : kRequired) {
        if (!(f.*field.value).empty()) continue;
        ui().messageBox(field.caption, field.text);
        complete = false;
    }
    const bool matched = f.password == f.password2;
    if (matched && complete && !f.username.empty() && !f.email.empty() && !f.password.empty())
        return true;
    if (!matched) {
        ui().messageBox("Password Error", "The Passwords Did Not Match");
        f.password.clear();
        f.password2.clear();
    } else if (f.username.empty()) {
        ui().messageBox("No User Name", "Please Enter a UserName");
    } else if (f.email.empty()) {
        ui().messageBox("Email Address Error", "Please enter an Email address");
    } else if (f.password.empty()) {
        ui().messageBox("Password Error", "Please enter Password");
    }
    return false;
}

NewUserReply registerMember(const RegistrationForm& form) {
    const CUserXml user = userDocument(form);
    const NewUserReply reply = requestNewUser(user.memberFields());
    if (reply == NewUserReply::Taken)
        ui().messageBox("Password Error",
                        "This username is already taken.  Please choose another name.");
    if (reply != NewUserReply::Created) return reply;
    user.SaveOrReport();
    sendPasswordMail(form.password, form.username);
    return reply;
}

}  // namespace tl
