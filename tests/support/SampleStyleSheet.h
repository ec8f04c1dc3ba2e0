#pragma once

#include <string>

namespace tl::test {

// A small listing style sheet: the title in a heading, every attachment entry as an image.
inline const std::string kSampleStyleSheet =
    R"(<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">)"
    R"(<xsl:output method="html"/>)"
    R"(<xsl:template match="/product"><html><body><h1>Title: <xsl:value-of select="titlebar"/>)"
    R"(</h1><xsl:for-each select="attachment/attach"><img src="{.}"/></xsl:for-each>)"
    R"(</body></html></xsl:template></xsl:stylesheet>)";

}  // namespace tl::test
