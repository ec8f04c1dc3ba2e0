#include "core/listings/PaymentMethods.h"

namespace tl {

bool acceptsPaymentMethod(std::string_view codes, const PaymentMethod& method) {
    return codes.find(method.code) != std::string_view::npos;
}

std::string ReadableMethods(std::string_view codes) {
    std::string readable;
    for (const PaymentMethod& method : kPaymentMethods)
        if (acceptsPaymentMethod(codes, method)) readable += method.readableText;
    return readable;
}

}  // namespace tl
