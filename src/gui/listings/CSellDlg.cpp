#include "gui/listings/CSellDlg.h"

#include <QFormLayout>
#include <QListWidget>
#include <QPushButton>

#include <charconv>
#include <optional>

#include "core/platform/Ui.h"
#include "gui/listings/CProductSoldDlg.h"
#include "gui/widgets/CPriceEdit.h"
#include "gui/widgets/Controls.h"
#include "ids_mylistings.h"

namespace tl {
namespace {

constexpr int kBuyerLimit = 50;
constexpr float kHighestPrice = 10000;

// The whole text as a decimal number, whatever the locale says; none when it is not one.
std::optional<float> numberIn(const QString& text) {
    const std::string digits = text.trimmed().toStdString();
    float value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace

CSellDlg::CSellDlg(QWidget* parent)
    : TemplateDialog(res::IDD_SELL, "Sell Product", parent),
      buyer_(new QLineEdit(this)),
      priceField_(new CPriceEdit(this)) {
    setControlId(buyer_, res::IDC_SELL_BUYER);
    buyer_->setMaxLength(kBuyerLimit);
    setControlId(priceField_, res::IDC_SELL_PRICE);
    priceField_->setText("0");
    auto* rating = new QListWidget(this);
    setControlId(rating, res::IDC_SELL_RATING);
    rating->addItems({"Positive", "Neutral", "Negative"});
    rating->setMaximumHeight(rating->sizeHintForRow(0) * 4);

    auto* form = new QFormLayout(this);
    form->addRow("User Name of Buyer", buyer_);
    form->addRow("Price", priceField_);
    form->addRow("Rate Buyer", rating);
    connect(addOkCancelRow(form, "OK"), &QPushButton::clicked, this, &CSellDlg::onOk);
}

std::string CSellDlg::buyer() const {
    return buyer_->text().toStdString();
}

void CSellDlg::onOk() {
    const std::optional<float> price = numberIn(priceField_->text());
    if (!price) {
        ui().messageBox("Tradeloom", "Please enter a number.", MessageButtons::Ok,
                        MessageIcon::Exclamation);
        return;
    }
    if (!(*price >= 0 && *price <= kHighestPrice)) {
        ui().messageBox("Tradeloom", "Enter a number between 0 and 10000.", MessageButtons::Ok,
                        MessageIcon::Exclamation);
        return;
    }
    if (buyer_->text().isEmpty()) {
        ui().messageBox("Empty Field(s)", "Please fill out the form completely", MessageButtons::Ok,
                        MessageIcon::Exclamation);
        return;
    }
    price_ = *price;
    CProductSoldDlg notice(price_ / 10, this);
    ui().runModal(notice);
    accept();
}

}  // namespace tl
