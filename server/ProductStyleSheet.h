#pragma once

#include <string_view>

namespace tl::market {

// The listing style sheet "product.xsl" (XSLT 1.0), compiled in from server/product.xsl.
std::string_view productStyleSheet();

}  // namespace tl::market
