#pragma once

#include "ids_frame.h"  // the form templates: IDD_VIEW3 (132), IDD_ADDLEFT (207), IDD_PRODEDITVIEW (147)

// Resource ids of the new-listing form, the buttons beside it and the edit-listing form.
namespace tl::res {

// New-listing form (template 132): fields
inline constexpr int IDC_ITEM_TITLE = 1036;
inline constexpr int IDC_ITEM_ZIPCODE = 1021;
inline constexpr int IDC_ITEM_ATTACHMENTS = 1044;
inline constexpr int IDC_ITEM_DESCRIPTION = 1031;
inline constexpr int IDC_ITEM_PRICE = 1027;
inline constexpr int IDC_ITEM_QUANTITY = 1038;
inline constexpr int IDC_ITEM_CATEGORY1 = 1147;
inline constexpr int IDC_ITEM_CATEGORY2 = 1148;
inline constexpr int IDC_ITEM_HYPERLINK = 1209;

// Radios
inline constexpr int IDC_ITEM_FORSALE = 1009;
inline constexpr int IDC_ITEM_WANTED = 1095;
inline constexpr int IDC_ITEM_BUYER_PAYS = 1007;
inline constexpr int IDC_ITEM_SELLER_PAYS = 1008;
inline constexpr int IDC_ITEM_SHIP_US = 1201;
inline constexpr int IDC_ITEM_SHIP_WORLD = 1202;
inline constexpr int IDC_ITEM_ESCROW_B = 1205;
inline constexpr int IDC_ITEM_ESCROW_C = 1206;
inline constexpr int IDC_ITEM_ESCROW_NONE = 1223;
inline constexpr int IDC_ITEM_MAKE_OFFER = 1230;
inline constexpr int IDC_ITEM_FREE = 1231;
// The eight payment-method boxes carry the ids of the payment-method table (1162 to 1168, 1227).

// Check box and buttons
inline constexpr int IDC_ITEM_CARD = 1212;
inline constexpr int IDC_ITEM_ATTACH = 1037;
inline constexpr int IDC_ITEM_REMOVE_ATTACH = 1065;
inline constexpr int IDC_ITEM_SELECT_CATEGORY1 = 1122;
inline constexpr int IDC_ITEM_SELECT_CATEGORY2 = 1149;
inline constexpr int IDC_ITEM_ADD = 1045;

// Commands of the form, hidden on it and shown as the buttons of CAddLeft (template 207)
inline constexpr int ID_ITEM_ADD = 1042;
inline constexpr int ID_ITEM_PREVIEW = 1080;
inline constexpr int ID_ITEM_CLEAR = 1043;

// Hidden picture controls holding the artwork of the form's buttons
inline constexpr int IDC_ITEM_ATTACH_BITMAP = 1193;  // holds bitmap 271
inline constexpr int IDC_ITEM_REMOVE_BITMAP = 1174;  // holds bitmap 272
inline constexpr int IDC_ITEM_SELECT_BITMAP = 1195;  // holds bitmap 273, for both Select buttons
inline constexpr int IDC_ITEM_ADD_BITMAP = 1194;     // holds bitmap 274
inline constexpr int IDB_ITEM_ATTACH = 271;
inline constexpr int IDB_ITEM_REMOVE = 272;
inline constexpr int IDB_ITEM_SELECT = 273;
inline constexpr int IDB_ITEM_ADD = 274;

// Artwork of the buttons beside the form
inline constexpr int IDB_ADDLEFT_ADD = 275;
inline constexpr int IDB_ADDLEFT_PREVIEW = 276;
inline constexpr int IDB_ADDLEFT_CLEAR = 277;

// Edit-listing form (template 147): the new-listing form's controls, except for these
inline constexpr int IDC_EDIT_DESCRIPTION = 1050;
inline constexpr int IDC_EDIT_SELECT_CATEGORY2 = 1124;
inline constexpr int IDC_EDIT_CLEAR_CATEGORY2 = 1125;
inline constexpr int IDC_EDIT_ESCROW_NONE = 1207;
inline constexpr int IDC_EDIT_ESCROW_PAYPAL = 1204;  // hidden
inline constexpr int IDC_EDIT_PREVIEW = 1100;
inline constexpr int IDC_EDIT_SUBMIT = 1045;
inline constexpr int IDC_EDIT_REACTIVATE_ITEM = 1046;  // hidden; submits as well
inline constexpr int IDC_EDIT_REACTIVATE = 1239;       // disabled check box

}  // namespace tl::res
