#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tl {

// One accepted payment method: the tick box that offers it on the listing forms, the capital
// letter that stands for it in a listing's code string, and the text a buyer reads.
struct PaymentMethod {
    int controlId;
    const char* label;
    char code;
    const char* readableText;  // ends with one blank, so texts can be concatenated
};

// The methods in their fixed order: code strings and readable texts always follow it.
inline constexpr std::array<PaymentMethod, 8> kPaymentMethods{{
    {1162, "Money Order/Cashiers Check", 'M', "Money Order/Cashiers Check "},
    {1163, "Personal Check", 'P', "Personal Check "},
    {1164, "Visa/Master Card", 'V', "Visa/Master Card "},
    {1165, "Discover", 'D', "Discover "},
    {1166, "American Express", 'A', "American Express "},
    {1167, "See Item Description", 'S', "See Item Description "},
    {1168, "COD (Cash on Delivery)", 'C', "COD (Cash On Delivery) "},
    {1227, "PayPal", 'E', "PayPal "},
}};

// True when the method's letter occurs anywhere in the code string.
bool acceptsPaymentMethod(std::string_view codes, const PaymentMethod& method);

// The readable text of a code string: the texts of the methods whose letters occur in it, in
// table order whatever the order of the letters; unknown letters are ignored.
std::string ReadableMethods(std::string_view codes);

}  // namespace tl
