#include "core/web/ListingRenderer.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <cstdarg>
#include <memory>
#include <mutex>
#include <optional>

#include "core/listings/StoredListing.h"
#include "core/platform/HttpRequest.h"
#include "core/platform/ServerHost.h"

namespace tl {
namespace {

constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct StyleFree {
    void operator()(xsltStylesheet* style) const { xsltFreeStylesheet(style); }
};
struct ContextFree {
    void operator()(xsltTransformContext* context) const { xsltFreeTransformContext(context); }
};
using Doc = std::unique_ptr<xmlDoc, DocFree>;

void silent(void*, const char*, ...) {}

// Style sheets may not touch files or the network; their messages are not printed.
xsltSecurityPrefs* lockedDownPrefs() {
    static xsltSecurityPrefs* prefs = [] {
        xsltSecurityPrefs* locked = xsltNewSecurityPrefs();
        for (xsltSecurityOption option :
             {XSLT_SECPREF_READ_FILE, XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY,
              XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK})
            xsltSetSecurityPrefs(locked, option, xsltSecurityForbid);
        xsltSetDefaultSecurityPrefs(locked);  // also guards imports while a sheet is parsed
        xsltSetGenericErrorFunc(nullptr, silent);
        xmlSetGenericErrorFunc(nullptr, silent);
        return locked;
    }();
    return prefs;
}

Doc parse(const std::string& text, const char* name, const char* encoding = nullptr) {
    return Doc(
        xmlReadMemory(text.data(), static_cast<int>(text.size()), name, encoding, kParseOptions));
}

// The href pseudo-attribute of the document's xml-stylesheet instruction.
std::optional<std::string> styleSheetHref(xmlDoc* doc) {
    for (xmlNode* node = doc->children; node != nullptr; node = node->next) {
        if (node->type != XML_PI_NODE || node->content == nullptr) continue;
        if (!xmlStrEqual(node->name, BAD_CAST "xml-stylesheet")) continue;
        const std::string content = reinterpret_cast<const char*>(node->content);
        const std::size_t key = content.find("href");
        if (key == std::string::npos) continue;
        const std::size_t quote = content.find_first_of("\"'", key);
        if (quote == std::string::npos) continue;
        const std::size_t end = content.find(content[quote], quote + 1);
        if (end == std::string::npos) continue;
        return content.substr(quote + 1, end - quote - 1);
    }
    return std::nullopt;
}

ListingPage failed(std::string reason) {
    return ListingPage{false, {}, std::move(reason)};
}

// Where the style sheet named by href is fetched: the path of href on the marketplace server.
// A listing that came from another member cannot send the program to any other host.
std::string styleSheetAddress(const std::string& href) {
    std::string path = href;
    const std::size_t scheme = path.find("://");
    if (scheme != std::string::npos) {
        const std::size_t pathStart = path.find('/', scheme + 3);
        path = pathStart == std::string::npos ? "/" : path.substr(pathStart);
    } else if (path.empty() || path[0] != '/') {
        path = "/tradeloom/" + path;
    }
    return "http://" + serverHost() + path;
}

ListingPage renderPlain(const std::string& plain, const TextFetcher& fetch) {
    xsltSecurityPrefs* prefs = lockedDownPrefs();
    Doc listing = parse(plain, "listing.xml");
    // Listings written on Windows machines may carry their text in the Windows code page.
    if (!listing) listing = parse(plain, "listing.xml", "WINDOWS-1252");
    if (!listing) return failed("The listing is damaged and cannot be shown.");
    const std::optional<std::string> href = styleSheetHref(listing.get());
    if (!href) return failed("The listing names no style sheet to show it with.");

    std::string styleText;
    try {
        styleText = fetch(styleSheetAddress(*href));
    } catch (const RequestError&) {
        return failed("The style sheet could not be fetched from the Tradeloom network.");
    }
    Doc styleDoc = parse(styleText, "product.xsl");
    if (!styleDoc) return failed("The style sheet from the Tradeloom network could not be read.");
    std::unique_ptr<xsltStylesheet, StyleFree> style(xsltParseStylesheetDoc(styleDoc.get()));
    if (!style) return failed("The style sheet from the Tradeloom network could not be read.");
    styleDoc.release();  // the style sheet owns its document now
    // The page goes to the browser as UTF-8 text, whatever the sheet's own output encoding.
    xmlFree(const_cast<xmlChar*>(style->encoding));
    style->encoding = xmlStrdup(BAD_CAST "UTF-8");

    std::unique_ptr<xsltTransformContext, ContextFree> context(
        xsltNewTransformContext(style.get(), listing.get()));
    if (!context || xsltSetCtxtSecurityPrefs(prefs, context.get()) != 0)
        return failed("The listing could not be shown.");
    Doc page(xsltApplyStylesheetUser(style.get(), listing.get(), nullptr, nullptr, nullptr,
                                     context.get()));
    if (!page || context->state == XSLT_STATE_ERROR)
        return failed("The style sheet could not show this listing.");

    xmlChar* text = nullptr;
    int length = 0;
    if (xsltSaveResultToString(&text, &length, page.get(), style.get()) != 0)
        return failed("The style sheet could not show this listing.");
    std::string html =
        text == nullptr ? std::string() : std::string(reinterpret_cast<char*>(text), length);
    xmlFree(text);
    return ListingPage{true, std::move(html), {}};
}

}  // namespace

ListingPage renderListing(const std::string& storedBytes, const TextFetcher& fetch) {
    return renderPlain(plainListingText(storedBytes), fetch);
}

ListingPage renderListingFile(const std::string& path) {
    const std::optional<std::string> plain = readStoredListing(path);
    if (!plain) return failed("The listing file could not be opened.");
    return renderPlain(*plain,
                       [](const std::string& address) { return fetchText(address, std::nullopt); });
}

}  // namespace tl
