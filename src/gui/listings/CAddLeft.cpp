#include "gui/listings/CAddLeft.h"

#include "gui/listings/CView3.h"
#include "ids_listings.h"

namespace tl {

CAddLeft::CAddLeft(QWidget* parent) : FormPane(res::IDD_ADDLEFT, parent) {
    addButtonColumn({
        {res::ID_ITEM_ADD, "Add", 0, res::IDB_ADDLEFT_ADD, [this] { onEveryForm(&CView3::Add); }},
        {res::ID_ITEM_PREVIEW, "Preview", 0, res::IDB_ADDLEFT_PREVIEW,
         [this] { onEveryForm(&CView3::Preview); }},
        {res::ID_ITEM_CLEAR, "Clear", 0, res::IDB_ADDLEFT_CLEAR,
         [this] { onEveryForm(&CView3::Clear); }},
    });
}

void CAddLeft::onEveryForm(void (CView3::*command)()) {
    for (CView3* form : window()->findChildren<CView3*>()) (form->*command)();
}

}  // namespace tl
