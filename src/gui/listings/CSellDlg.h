#pragma once

#include <string>

#include "gui/widgets/TemplateDialog.h"

class QLineEdit;

namespace tl {

// "Sell Product": the buyer's user name and the price of a sale. OK with a buyer and a price
// from 0 to 10000 shows the "Product Sold" notice and then closes the dialog with OK.
class CSellDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CSellDlg(QWidget* parent = nullptr);

    std::string buyer() const;
    // The price as entered; meaningful once the dialog closed with OK.
    float price() const { return price_; }

    void onOk();

private:
    QLineEdit* buyer_;
    QLineEdit* priceField_;
    float price_ = 0;
};

}  // namespace tl
