#include "gui/listings/CProductSoldDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/widgets/Controls.h"
#include "ids_app.h"
#include "ids_mylistings.h"

namespace tl {
namespace {

constexpr char kPayableTo[] =
    "Tradeloom Network Operations\nP.O. Box 4127\nLakeview Station, MN 55999";

// Six significant digits, as an amount box shows a number: 5.5, 0.25, 1000.
QString amountText(float amount) {
    return QString::number(static_cast<double>(amount), 'g', 6);
}

}  // namespace

CProductSoldDlg::CProductSoldDlg(float amount, QWidget* parent)
    : TemplateDialog(res::IDD_PRODUCT_SOLD, "Product Sold", parent) {
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Thank You for using the Tradeloom Network", this), 0, 0, 1, 2);
    layout->addWidget(new QLabel("Please Send $", this), 1, 0);
    auto* fee = new QLineEdit(amountText(amount), this);
    setControlId(fee, res::IDC_SOLD_AMOUNT);
    fee->setReadOnly(true);
    layout->addWidget(fee, 1, 1);
    layout->addWidget(new QLabel("Payable To:", this), 2, 0, Qt::AlignTop);
    layout->addWidget(new QLabel(kPayableTo, this), 2, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = idButton(this, res::IDOK, "OK");
    ok->setDefault(true);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 3, 0, 1, 2);
}

}  // namespace tl
