#include <gtest/gtest.h>

#include <functional>

#include "core/account/PasswordChange.h"
#include "core/account/Registration.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;

RegistrationForm completeForm() {
    RegistrationForm f;
    f.username = "annlee";
    f.password = f.password2 = "secret1";
    f.firstname = "Ann";
    f.lastname = "Lee";
    f.address = "1 Main Street";
    f.city = "Springfield";
    f.state = "IL";
    f.zipcode = "12345";
    f.phone = "555-0100";
    f.email = "ann@example.org";
    return f;
}

TEST(RegistrationChecks, EachUnmetRuleShowsItsBoxesInOrderAndEmptiesWhatItRefuses) {
    test::TempProgramDirectory home;
    const Boxes nameLength{
        {"User Name Length Warning", "Please select a User Name between 5 and 10 characters long"},
        {"No User Name", "Please Enter a UserName"}};
    const Boxes nameChars{{"User Name Error",
                           "A User Name cannot contain &, #, /, \\ or two dots in a row.  Please "
                           "choose another name."},
                          {"No User Name", "Please Enter a UserName"}};
    const Boxes passwordLength{
        {"Password Length Warning", "Please Create a Password between 5 and 10 characters long"},
        {"Password Error", "Please enter Password"}};
    struct Case {
        const char* what;
        std::function<void(RegistrationForm&)> change;
        bool accepted;
        Boxes boxes;
        std::string username, password, password2;
    };
    const Case cases[] = {
        {"complete", [](RegistrationForm&) {}, true, {}, "annlee", "secret1", "secret1"},
        {"50-character name",
         [](RegistrationForm& f) { f.username = std::string(50, 'x'); },
         true,
         {},
         std::string(50, 'x'),
         "secret1",
         "secret1"},
        {"4-character name", [](RegistrationForm& f) { f.username = "abcd"; }, false, nameLength,
         "", "secret1", "secret1"},
        {"51-character name", [](RegistrationForm& f) { f.username = std::string(51, 'x'); }, false,
         nameLength, "", "secret1", "secret1"},
        {"ampersand", [](RegistrationForm& f) { f.username = "ann&lee"; }, false, nameChars, "",
         "secret1", "secret1"},
        {"hash", [](RegistrationForm& f) { f.username = "ann#lee"; }, false, nameChars, "",
         "secret1", "secret1"},
        {"slash", [](RegistrationForm& f) { f.username = "../../x1"; }, false, nameChars, "",
         "secret1", "secret1"},
        {"backslash", [](RegistrationForm& f) { f.username = "ann\\lee"; }, false, nameChars, "",
         "secret1", "secret1"},
        {"11-character password",
         [](RegistrationForm& f) { f.password = f.password2 = "abcdefghijk"; }, false,
         passwordLength, "annlee", "", ""},
        {"mismatch",
         [](RegistrationForm& f) { f.password2 = "secret2"; },
         false,
         {{"Password Error", "The Passwords Did Not Match"}},
         "annlee",
         "",
         ""},
        {"no email",
         [](RegistrationForm& f) { f.email.clear(); },
         false,
         {{"Email Address Error", "Please enter an Email address"}},
         "annlee",
         "secret1",
         "secret1"},
        {"no city",
         [](RegistrationForm& f) { f.city.clear(); },
         false,
         {{"Error: Blank City", "Please Enter your City"}},
         "annlee",
         "secret1",
         "secret1"},
        {"everything blank",
         [](RegistrationForm& f) { f = RegistrationForm{}; },
         false,
         {nameLength[0],
          passwordLength[0],
          {"Error: Blank first Name", "Please Enter your First Name"},
          {"Error: Blank Last Name", "Please Enter your Last Name"},
          {"Error: Blank Address", "Please Enter your Address"},
          {"Error: Blank City", "Please Enter your City"},
          {"Error: Blank Phone Number", "Please Enter your Phone Number"},
          {"Error: Blank State Field", "Please Enter your State"},
          {"Error: Blank Zip Code", "Please Enter your Zip Code"},
          nameLength[1]},
         "",
         "",
         ""},
    };
    for (const Case& c : cases) {
        ScriptedUi ui;
        RegistrationForm form = completeForm();
        c.change(form);
        EXPECT_EQ(checkRegistrationForm(form), c.accepted) << c.what;
        EXPECT_EQ(ui.boxes(), c.boxes) << c.what;
        EXPECT_EQ(form.username, c.username) << c.what;
        EXPECT_EQ(form.password, c.password) << c.what;
        EXPECT_EQ(form.password2, c.password2) << c.what;
        EXPECT_EQ(form.connection, kUnknownConnection) << c.what;
    }
}

TEST(PasswordChangeChecks, TheOldPasswordComesFirstThenLengthThenMatch) {
    const ScriptedUi::Box wrongOld{"Password Error", "Incorret Old Password"};
    const ScriptedUi::Box length{"Password Length Error",
                                 "Please Choose a Password 5-10 characters"};
    const ScriptedUi::Box mismatch{"Password Error", "Passwords did not match"};
    struct Case {
        const char *old, *fresh, *again;
        PasswordChange outcome;
        Boxes boxes;
    };
    const Case cases[] = {
        {"secret1", "newpass", "newpass", PasswordChange::Accepted, {}},
        {"secret1", "a&b#c d", "a&b#c d", PasswordChange::Accepted, {}},
        {"wrong", "newpass", "newpass", PasswordChange::WrongOld, {wrongOld}},
        {"", "", "", PasswordChange::WrongOld, {wrongOld}},
        {"secret1", "abcd", "abcd", PasswordChange::BadLength, {length}},
        {"secret1", "abcdefghijk", "abcdefghijk", PasswordChange::BadLength, {length}},
        {"secret1", "", "", PasswordChange::BadLength, {length}},
        {"secret1", "newpass", "newpas5", PasswordChange::Mismatch, {mismatch}},
    };
    for (const Case& c : cases) {
        ScriptedUi ui;
        EXPECT_EQ(checkPasswordChange("secret1", c.old, c.fresh, c.again), c.outcome) << c.fresh;
        EXPECT_EQ(ui.boxes(), c.boxes) << c.old << '/' << c.fresh << '/' << c.again;
    }
}

}  // namespace
}  // namespace tl
