<?xml version="1.0" encoding="utf-8"?>
<!-- The Tradeloom listing page: renders a listing document (root "product") as HTML. Photos and
     the business card are the "attach" entries, shown with their own relative names, so they
     load from the folder next to the listing file. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="utf-8" indent="yes"
              doctype-system="about:legacy-compat"/>

  <xsl:template match="/">
    <xsl:apply-templates select="*[1]"/>
  </xsl:template>

  <xsl:template match="*">
    <html>
      <head>
        <meta charset="utf-8"/>
        <title><xsl:value-of select="titlebar[1]"/></title>
        <style type="text/css">
          body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 14px; color: #1f2a33;
                 background: #f4f6f8; margin: 0; }
          header { background: #24506e; color: #fff; padding: 10px 18px; }
          header h1 { font-size: 20px; margin: 0; }
          header .price { font-size: 18px; margin-top: 4px; }
          main { padding: 12px 18px; max-width: 900px; }
          h2 { font-size: 16px; color: #24506e; border-bottom: 1px solid #c9d3db; }
          .description { background: #fff; padding: 8px 12px; white-space: pre-wrap; }
          table { border-collapse: collapse; background: #fff; }
          th, td { text-align: left; padding: 4px 10px; border-bottom: 1px solid #e1e6ea; }
          th { background: #e8eef3; width: 170px; }
          .photos img { max-width: 420px; max-height: 320px; margin: 0 10px 10px 0;
                        border: 1px solid #c9d3db; background: #fff; }
        </style>
      </head>
      <body>
        <header>
          <h1><xsl:value-of select="titlebar[1]"/></h1>
          <div class="price">
            <xsl:call-template name="price"/>
            <xsl:text> · </xsl:text>
            <xsl:call-template name="kind"/>
          </div>
        </header>
        <main>
          <h2>Description</h2>
          <div class="description"><xsl:value-of select="description[1]"/></div>

          <h2>Details</h2>
          <table>
            <tr><th>Item #</th><td><xsl:value-of select="productid[1]"/></td></tr>
            <tr><th>Seller</th><td><xsl:value-of select="username[1]"/></td></tr>
            <tr><th>Quantity</th><td><xsl:value-of select="quantity[1]"/></td></tr>
            <tr><th>Ships to</th><td><xsl:call-template name="shipping"/></td></tr>
            <tr><th>Shipping paid by</th><td><xsl:value-of select="shippingpay[1]"/></td></tr>
            <tr><th>Zip code</th><td><xsl:value-of select="zipcode[1]"/></td></tr>
            <tr><th>Payment methods</th><td><xsl:call-template name="methods"/></td></tr>
            <xsl:if test="normalize-space(paymentterms[1]) != ''">
              <tr><th>Payment terms</th><td><xsl:value-of select="paymentterms[1]"/></td></tr>
            </xsl:if>
            <tr><th>Escrow</th><td><xsl:value-of select="escrow[1]"/></td></tr>
            <tr><th>Category</th><td><xsl:value-of select="category1[1]"/></td></tr>
            <xsl:if test="normalize-space(category2[1]) != ''">
              <tr><th>Second category</th><td><xsl:value-of select="category2[1]"/></td></tr>
            </xsl:if>
            <tr><th>Web link</th><td><xsl:call-template name="link"/></td></tr>
          </table>

          <xsl:if test="attachment/attach[normalize-space(.) != '']">
            <h2>Photos</h2>
            <div class="photos">
              <xsl:for-each select="attachment/attach[normalize-space(.) != '']">
                <img src="{.}" alt="{.}"/>
              </xsl:for-each>
            </div>
          </xsl:if>
        </main>
      </body>
    </html>
  </xsl:template>

  <xsl:template name="price">
    <xsl:variable name="p" select="normalize-space(price[1])"/>
    <xsl:choose>
      <xsl:when test="$p = '-1' or $p = '-1.0000' or $p = 'Make Offer'">Make Offer</xsl:when>
      <xsl:when test="$p = '0' or $p = 'Free'">Free</xsl:when>
      <xsl:when test="$p = ''">No price given</xsl:when>
      <xsl:otherwise>$<xsl:value-of select="$p"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template name="kind">
    <xsl:choose>
      <xsl:when test="status[1] = 'Selling'">For Sale</xsl:when>
      <xsl:when test="status[1] = 'Buying'">Wanted</xsl:when>
      <xsl:when test="status[1] = 'SOLD'">Sold</xsl:when>
      <xsl:when test="status[1] = 'INACTIVE'">No longer offered</xsl:when>
      <xsl:otherwise><xsl:value-of select="status[1]"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template name="shipping">
    <xsl:choose>
      <xsl:when test="shipping[1] = 'US'">United States only</xsl:when>
      <xsl:when test="shipping[1] = 'WORLD'">Worldwide</xsl:when>
      <xsl:otherwise><xsl:value-of select="shipping[1]"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- The readable text when the document has it, else the method field (a fetched copy holds
       the readable text there). -->
  <xsl:template name="methods">
    <xsl:choose>
      <xsl:when test="normalize-space(readablemethods[1]) != ''">
        <xsl:value-of select="readablemethods[1]"/>
      </xsl:when>
      <xsl:otherwise><xsl:value-of select="paymentmethods[1]"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- Only web addresses become links; an empty link ("http://") shows as none. -->
  <xsl:template name="link">
    <xsl:variable name="h" select="normalize-space(hyperlink[1])"/>
    <xsl:choose>
      <xsl:when test="(starts-with($h, 'http://') and string-length($h) &gt; 7)
                      or (starts-with($h, 'https://') and string-length($h) &gt; 8)">
        <a href="{$h}"><xsl:value-of select="$h"/></a>
      </xsl:when>
      <xsl:otherwise>none</xsl:otherwise>
    </xsl:choose>
  </xsl:template>
</xsl:stylesheet>
