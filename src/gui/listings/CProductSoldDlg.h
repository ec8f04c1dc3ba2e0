#pragma once

#include "gui/widgets/TemplateDialog.h"

namespace tl {

// "Product Sold": thanks the member for a sale and asks for the marketplace's fee, one tenth of
// the sale price, with the address it is payable to.
class CProductSoldDlg : public TemplateDialog {
    Q_OBJECT
public:
    CProductSoldDlg(float amount, QWidget* parent = nullptr);
};

}  // namespace tl
