#pragma once

#include "core/listings/CProductXml.h"

namespace tl::test {

// A make-offer listing with texts the request cleaner must change.
inline ListingValues chairListing() {
    ListingValues v;
    v.title = "Tom & Jerry #2";
    v.description = "Big chair";
    v.quantity = "1";
    v.shipping = "US";
    v.zipcode = "12345";
    v.shippingpay = "Buyer";
    v.username = "ann";
    v.price = "-1";
    v.status = "Selling";
    v.category1 = "Furniture";
    v.paymentmethods = "ME";
    v.escrow = "none";
    v.readablemethods = "Money Order/Cashiers Check PayPal ";
    v.hyperlink = "http://";
    return v;
}

}  // namespace tl::test
