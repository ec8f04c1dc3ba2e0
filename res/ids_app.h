#pragma once

// Resource ids of the application shell: dialog templates, controls, bitmaps and strings.
namespace tl::res {

// Strings
inline constexpr int IDS_SOCKETS_INIT_FAILED = 102;
inline constexpr char kSocketsInitFailedText[] = "Windows sockets initialization failed.";

// Login dialog
inline constexpr int IDD_LOGIN = 158;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_LOGIN_USERNAME = 1010;
inline constexpr int IDC_LOGIN_PASSWORD = 1012;
inline constexpr int IDC_LOGIN_NEWUSER = 1077;
inline constexpr int IDC_LOGIN_LOSTPASSWORD = 1175;
inline constexpr int IDC_LOGIN_EXIT = 1122;
inline constexpr int IDC_LOGIN_BITMAP_LOGIN = 1167;    // holds bitmap 238
inline constexpr int IDC_LOGIN_BITMAP_NEWUSER = 1169;  // holds bitmap 236
inline constexpr int IDC_LOGIN_BITMAP_LOST = 1168;     // holds bitmap 239
inline constexpr int IDB_NEWUSER = 236;
inline constexpr int IDB_LOGIN_PICTURE = 237;
inline constexpr int IDB_LOGIN = 238;
inline constexpr int IDB_LOSTPASSWORD = 239;

}  // namespace tl::res
