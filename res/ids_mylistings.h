#pragma once

#include "ids_frame.h"  // the templates: IDD_VIEWMYPROD (152) and IDD_MYPRODUCTSLEFT (205)

// Resource ids of the my-listings screen: the list, its buttons, the sell dialog and the notice
// that follows a sale.
namespace tl::res {

// The list of the member's own and bought listings (template 152)
inline constexpr int IDC_MYPROD_LIST = 1099;

// Images of the list's "Type" column, in the order of the image list
inline constexpr int IDB_MYPROD_BUYING = 219;
inline constexpr int IDB_MYPROD_SELLING = 218;
inline constexpr int IDB_MYPROD_SOLD = 221;
inline constexpr int IDB_MYPROD_BOUGHT = 225;
inline constexpr int IDB_MYPROD_INACTIVE = 268;

// My-listings buttons (template 205), each showing the picture of a hidden control
inline constexpr int IDC_MPL_SELL = 1160;
inline constexpr int IDC_MPL_VIEW = 1158;
inline constexpr int IDC_MPL_EDIT = 1156;
inline constexpr int IDC_MPL_REMOVE = 1155;
inline constexpr int IDC_MPL_INACTIVATE = 1157;  // captioned "Delete"
inline constexpr int IDC_MPL_REACTIVATE = 1161;  // hidden
inline constexpr int IDC_MPL_PRINT = 1159;
inline constexpr int IDC_MPL_FEEDBACK = 1122;
inline constexpr int IDC_MPL_SELL_BITMAP = 1213;        // holds bitmap 291
inline constexpr int IDC_MPL_VIEW_BITMAP = 1214;        // holds bitmap 282
inline constexpr int IDC_MPL_EDIT_BITMAP = 1215;        // holds bitmap 292
inline constexpr int IDC_MPL_REMOVE_BITMAP = 1216;      // holds bitmap 272
inline constexpr int IDC_MPL_INACTIVATE_BITMAP = 1217;  // holds bitmap 293
inline constexpr int IDC_MPL_REACTIVATE_BITMAP = 1218;  // holds bitmap 294
inline constexpr int IDC_MPL_PRINT_BITMAP = 1219;       // holds bitmap 283
inline constexpr int IDC_MPL_FEEDBACK_BITMAP = 1220;    // holds bitmap 295
inline constexpr int IDB_MPL_SELL = 291;
inline constexpr int IDB_MPL_VIEW = 282;
inline constexpr int IDB_MPL_EDIT = 292;
inline constexpr int IDB_MPL_REMOVE = 272;
inline constexpr int IDB_MPL_INACTIVATE = 293;
inline constexpr int IDB_MPL_REACTIVATE = 294;
inline constexpr int IDB_MPL_PRINT = 283;
inline constexpr int IDB_MPL_FEEDBACK = 295;
// Sends the chosen listing's files to the marketplace again (no picture)
inline constexpr int IDC_MPL_SEND_FILES = 1290;

// "Sell Product" dialog
inline constexpr int IDD_SELL = 188;
inline constexpr int IDC_SELL_BUYER = 1110;  // at most 50 characters
inline constexpr int IDC_SELL_PRICE = 1027;  // a number from 0 to 10000
inline constexpr int IDC_SELL_RATING = 1004;

// "Product Sold" notice
inline constexpr int IDD_PRODUCT_SOLD = 199;
inline constexpr int IDC_SOLD_AMOUNT = 1051;  // read-only: one tenth of the sale price

}  // namespace tl::res
