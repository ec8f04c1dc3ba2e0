#include <gtest/gtest.h>

#include "core/listings/PaymentMethods.h"

namespace tl {
namespace {

TEST(PaymentMethods, TableHoldsTheBoxesCodesAndTextsInOrder) {
    std::string codes, ids, readable;
    for (const PaymentMethod& m : kPaymentMethods) {
        codes += m.code;
        ids += std::to_string(m.controlId) + " ";
        readable += m.readableText;
    }
    EXPECT_EQ(codes, "MPVDASCE");
    EXPECT_EQ(ids, "1162 1163 1164 1165 1166 1167 1168 1227 ");
    EXPECT_EQ(readable,
              "Money Order/Cashiers Check Personal Check Visa/Master Card Discover "
              "American Express See Item Description COD (Cash On Delivery) PayPal ");
    EXPECT_STREQ(kPaymentMethods[6].label, "COD (Cash on Delivery)");
}

TEST(PaymentMethods, ReadableTextFollowsTableOrderNotLetterOrder) {
    EXPECT_EQ(ReadableMethods("EM"), "Money Order/Cashiers Check PayPal ");
    EXPECT_EQ(ReadableMethods("ME"), ReadableMethods("EM"));
    EXPECT_EQ(ReadableMethods("SM"), "Money Order/Cashiers Check See Item Description ");
    EXPECT_EQ(ReadableMethods("VE"), "Visa/Master Card PayPal ");
}

TEST(PaymentMethods, UnknownLettersAndRepeatsAddNothing) {
    EXPECT_EQ(ReadableMethods(""), "");
    EXPECT_EQ(ReadableMethods("xyzQ m"), "");
    EXPECT_EQ(ReadableMethods("CCxC"), "COD (Cash On Delivery) ");
}

}  // namespace
}  // namespace tl
