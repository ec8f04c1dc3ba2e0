#pragma once

// Resource ids of the main frame: its menu, its fixed panes, the navigation tabs, and the
// templates of the panes it holds for the other areas.
namespace tl::res {

// Main menu (menu resource 128) and its commands
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int ID_FILE_LOOMWEB = 32776;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_EDIT_USERINFO = 32777;
inline constexpr int ID_EDIT_FAVORITES = 32778;
inline constexpr int ID_ACTIONS_SEARCH = 32780;
inline constexpr int ID_ACTIONS_ADDITEMS = 32781;
inline constexpr int ID_ACTIONS_CHAT = 32784;
inline constexpr int ID_APP_ABOUT = 57664;

// About box
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDC_ABOUT_OK = 1;

// Back button pane
inline constexpr int IDD_UPPERLEFT = 202;
inline constexpr int IDC_BACK = 1122;
inline constexpr int IDC_BACK_BITMAP = 1166;  // holds bitmap 258
inline constexpr int IDB_BACK = 258;

// Logo pane
inline constexpr int IDD_LOWERLEFT = 209;
inline constexpr int IDB_LOGO = 250;

// Print panel
inline constexpr int IDD_LEFTTEST2 = 201;
inline constexpr int IDC_PRINT = 1159;
inline constexpr int IDC_PRINT_LABEL = 1170;
inline constexpr int IDB_PRINT = 242;

// Quick-search bar
inline constexpr int IDD_LOWERRIGHT = 210;
inline constexpr int IDC_QS_FORSALE = 1007;
inline constexpr int IDC_QS_WANTED = 1008;
inline constexpr int IDC_QS_BOTH = 1009;
inline constexpr int IDC_QS_CRITERIA = 1048;
inline constexpr int IDC_QS_SEARCH = 1151;
inline constexpr int IDC_QS_ADVANCED = 1122;
inline constexpr int IDC_QS_SEARCH_BITMAP = 1192;    // holds bitmap 260
inline constexpr int IDC_QS_ADVANCED_BITMAP = 1191;  // holds bitmap 259
inline constexpr int IDB_QS_SEARCH = 260;
inline constexpr int IDB_QS_ADVANCED = 259;

// Navigation tabs
inline constexpr int IDD_LEFTVIEW = 133;
inline constexpr int IDC_NAV_TABS = 1150;

// Panes the frame holds for the other areas, by dialog template
inline constexpr int IDD_VIEW1 = 130;           // user information
inline constexpr int IDD_VIEW2 = 131;           // advanced search form
inline constexpr int IDD_VIEW3 = 132;           // new-listing form
inline constexpr int IDD_VIEWFAVS = 145;        // favourites list
inline constexpr int IDD_PRODEDITVIEW = 147;    // edit-listing form
inline constexpr int IDD_QSEARCH = 149;         // search results
inline constexpr int IDD_VIEWMYPROD = 152;      // my listings
inline constexpr int IDD_FAVORITESLEFT = 101;   // favourites buttons
inline constexpr int IDD_MYPRODUCTSLEFT = 205;  // my-listings buttons
inline constexpr int IDD_SEARCHLEFT = 206;      // search buttons
inline constexpr int IDD_ADDLEFT = 207;         // new-listing buttons
inline constexpr int IDD_USERLEFT = 208;        // user-information buttons
inline constexpr int IDD_DISABLEDLOWR = 211;    // advanced-search bar
inline constexpr int IDD_MESSAGECENTER = 300;   // message centre

}  // namespace tl::res
