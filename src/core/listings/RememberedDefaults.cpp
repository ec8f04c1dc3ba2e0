#include "core/listings/RememberedDefaults.h"

#include "core/listings/CProductXml.h"
#include "core/listings/ListingPaths.h"

namespace tl {

int SaveRememberedDefaults(const std::string& userName, const RememberedDefaults& d) {
    ListingValues values;
    values.shipping = d.shipping;
    values.shippingpay = d.shippingpay;
    values.paymentmethods = d.paymentmethods;
    values.escrow = d.escrow;
    values.hyperlink = d.hyperlink;
    values.card = d.card;
    CProductXml document;
    return document.BuildAndSave(rememberedDefaultsId(userName), values);
}

std::optional<RememberedDefaults> LoadRememberedDefaults(const std::string& userName) {
    CProductXml document;
    if (!document.OpenOwn(rememberedDefaultsId(userName))) return std::nullopt;
    try {
        return RememberedDefaults{.shippingpay = document.GetShippingpay(),
                                  .shipping = document.GetShipping(),
                                  .paymentmethods = document.GetPaymentmethods(),
                                  .escrow = document.GetEscrow(),
                                  .hyperlink = document.GetHyperlink(),
                                  .card = document.GetCard()};
    } catch (const MissingListingField&) {
        return std::nullopt;
    }
}

}  // namespace tl
