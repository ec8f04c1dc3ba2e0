# Writes OUTPUT: a C++ file whose productStyleSheet() returns the bytes of INPUT.
file(READ ${INPUT} bytes HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n"
       bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from product.xsl; do not edit.
#include \"ProductStyleSheet.h\"

namespace tl::market {
namespace {
const unsigned char kBytes[] = {
${bytes}};
}  // namespace

std::string_view productStyleSheet() {
    return std::string_view(reinterpret_cast<const char*>(kBytes), sizeof kBytes);
}

}  // namespace tl::market
")
