#pragma once

// Resource ids of the member's account: registration, profile, its buttons, password change.
namespace tl::res {

// Registration dialog (template 159) and the profile form (template 130) share their field ids.
inline constexpr int IDD_REGISTRATION = 159;
inline constexpr int IDC_USER_USERNAME = 1010;
inline constexpr int IDC_USER_PASSWORD = 1012;
inline constexpr int IDC_USER_PASSWORD2 = 1017;
inline constexpr int IDC_USER_FIRSTNAME = 1013;
inline constexpr int IDC_USER_LASTNAME = 1014;
inline constexpr int IDC_USER_ADDRESS = 1015;
inline constexpr int IDC_USER_CITY = 1016;
inline constexpr int IDC_USER_STATE_LIST = 1120;  // registration: drop-down list
inline constexpr int IDC_USER_STATE = 1018;       // profile: edit of 2 characters
inline constexpr int IDC_USER_ZIPCODE = 1021;
inline constexpr int IDC_USER_COUNTRY = 1123;
inline constexpr int IDC_USER_PHONE = 1019;
inline constexpr int IDC_USER_EMAIL = 1020;
inline constexpr int IDC_USER_CONNECTION_REG = 1096;  // registration
inline constexpr int IDC_USER_CONNECTION = 1142;      // profile
inline constexpr int IDC_USER_CLUB1 = 1004;           // profile: "All Clubs"
inline constexpr int IDC_USER_CLUB2 = 1005;
inline constexpr int IDC_USER_CONTACT_PHONE = 1022;
inline constexpr int IDC_USER_CONTACT_EMAIL = 1023;
inline constexpr int IDC_USER_OPTIN = 1243;

// Profile form only
inline constexpr int IDC_USER_CONTACT = 1081;
inline constexpr int IDC_USER_CARD = 1051;
inline constexpr int IDC_USER_SELECT_CARD = 1122;
inline constexpr int IDC_USER_REMOVE_CARD = 1237;
inline constexpr int IDC_USER_YOUR_CLUBS = 1006;
inline constexpr int IDC_USER_ADD_CLUB = 1224;
inline constexpr int IDC_USER_CREATE_CLUB = 1225;

// Buttons beside the profile (template 208)
inline constexpr int IDC_USERLEFT_PASSWORD = 1250;
inline constexpr int IDC_USERLEFT_SUBMIT = 1251;

// Change-password dialog
inline constexpr int IDD_CHANGE_PASSWORD = 178;
inline constexpr int IDC_PASSWORD_OLD = 1098;
inline constexpr int IDC_PASSWORD_NEW = 1099;
inline constexpr int IDC_PASSWORD_AGAIN = 1100;

}  // namespace tl::res
