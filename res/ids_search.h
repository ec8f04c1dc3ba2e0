#pragma once

#include "ids_frame.h"  // the templates: IDD_QSEARCH (149), IDD_VIEW2 (131), IDD_VIEWFAVS (145),
                        // IDD_SEARCHLEFT (206), IDD_FAVORITESLEFT (101)

// Resource ids of the search screens: the result lists and the search buttons.
namespace tl::res {

// The result list of the quick-search results, the advanced search form and the favourites
inline constexpr int IDC_RESULT_LIST = 1052;

// Kind images of the result lists: image 0 a wanted listing, image 1 one for sale
inline constexpr int IDB_KIND_BUYING = 219;
inline constexpr int IDB_KIND_SELLING = 218;

// The result view's own buttons (template 149), hidden: the search buttons carry them
inline constexpr int IDC_QR_SEARCH = 1136;  // "Search!", the default button
inline constexpr int IDC_QR_ADDFAVORITE = 1137;
inline constexpr int IDC_QR_BUY = 1138;
inline constexpr int IDC_QR_ADVANCED = 1139;

// The favourites view's own "Remove" (template 145), hidden: the favourites buttons carry it
inline constexpr int IDC_FV_REMOVE = 1140;

// Search buttons (template 206), each showing the picture of a hidden control
inline constexpr int IDC_SL_ADDFAVORITE = 1123;
inline constexpr int IDC_SL_BUY = 1124;
inline constexpr int IDC_SL_VIEW = 1125;
inline constexpr int IDC_SL_PRINT = 1126;
inline constexpr int IDC_SL_ADDFAVORITE_BITMAP = 1196;  // holds bitmap 280
inline constexpr int IDC_SL_BUY_BITMAP = 1197;          // holds bitmap 281
inline constexpr int IDC_SL_VIEW_BITMAP = 1198;         // holds bitmap 282
inline constexpr int IDC_SL_PRINT_BITMAP = 1199;        // holds bitmap 283
inline constexpr int IDB_SL_ADDFAVORITE = 280;
inline constexpr int IDB_SL_BUY = 281;
inline constexpr int IDB_SL_VIEW = 282;
inline constexpr int IDB_SL_PRINT = 283;

// Favourites buttons (template 101), each showing the picture of a hidden control
inline constexpr int IDC_FL_REMOVE = 1127;
inline constexpr int IDC_FL_BUY = 1128;
inline constexpr int IDC_FL_PRINT = 1129;
inline constexpr int IDC_FL_REMOVE_BITMAP = 1200;  // holds bitmap 272
inline constexpr int IDC_FL_BUY_BITMAP = 1201;     // holds bitmap 281
inline constexpr int IDC_FL_PRINT_BITMAP = 1202;   // holds bitmap 283
inline constexpr int IDB_FL_REMOVE = 272;

// The contact dialog ("Buy")
inline constexpr int IDD_CONTACT = 186;
inline constexpr int IDC_CONTACT_INFO = 1130;  // read-only, at most 100 characters
inline constexpr int IDC_CONTACT_CHAT = 1131;
inline constexpr int IDC_CONTACT_ASK = 1132;  // hidden
inline constexpr int IDC_CONTACT_OFFER = 1133;
inline constexpr int IDC_CONTACT_CLOSE = 2;

// The "User Not Online" dialog: adding a favourite of a poster who is offline
inline constexpr int IDD_USERNOTONLINE = 196;
inline constexpr int IDC_USERNOTONLINE_TEXT = 1134;
inline constexpr int IDC_USERNOTONLINE_OFFER = 1135;  // "Make Offer/Ask Question"
inline constexpr int IDC_USERNOTONLINE_CLOSE = 2;

// The advanced search form (template 131); its text fields take at most 50 characters
inline constexpr int IDC_ADV_TITLE = 1400;
inline constexpr int IDC_ADV_DESCRIPTION = 1401;
inline constexpr int IDC_ADV_ZIPCODE = 1402;
inline constexpr int IDC_ADV_PRICE = 1403;
inline constexpr int IDC_ADV_CATEGORY = 1404;  // read-only, filled by "Select"
inline constexpr int IDC_ADV_SELECT = 1405;
inline constexpr int IDC_ADV_SELECT_BITMAP = 1406;  // holds bitmap 284
inline constexpr int IDC_ADV_CLUB = 1407;
inline constexpr int IDC_ADV_WANTED = 1408;
inline constexpr int IDC_ADV_FORSALE = 1409;
inline constexpr int IDC_ADV_BOTH = 1410;
inline constexpr int IDC_ADV_GREATER = 1411;
inline constexpr int IDC_ADV_LESS = 1412;
inline constexpr int IDC_ADV_USER = 1413;
inline constexpr int IDC_ADV_CLUB2 = 1414;      // hidden
inline constexpr int IDC_ADV_CATEGORY2 = 1415;  // hidden, labelled "Category 2"
inline constexpr int IDC_ADV_SEARCH = 1416;     // hidden default button
inline constexpr int IDC_ADV_CLEAR = 1417;      // hidden
inline constexpr int IDB_ADV_SELECT = 284;

// The advanced-search bar (template 211): run the form's search, clear the form
inline constexpr int IDC_DL_SEARCH = 1418;
inline constexpr int IDC_DL_CLEAR = 1419;
inline constexpr int IDC_DL_SEARCH_BITMAP = 1420;  // holds bitmap 260
inline constexpr int IDC_DL_CLEAR_BITMAP = 1421;   // holds bitmap 285
inline constexpr int IDB_DL_CLEAR = 285;

}  // namespace tl::res
