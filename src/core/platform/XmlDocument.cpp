#include "core/platform/XmlDocument.h"

#include <sstream>

#include "core/platform/Files.h"

namespace tl {
namespace {

constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_pi;
constexpr unsigned kSaveOptions =
    pugi::format_raw | pugi::format_no_declaration | pugi::format_no_empty_element_tags;

// The node after node in document order within the subtree of top, entering the children of
// elements only; null once the subtree is done. depth follows the step: one more for a child,
// one less for each parent left. The walk keeps no stack, so it takes any nesting.
pugi::xml_node nextInSubtree(const pugi::xml_node& node, const pugi::xml_node& top,
                             std::size_t& depth) {
    if (node.type() == pugi::node_element && node.first_child()) {
        ++depth;
        return node.first_child();
    }
    for (pugi::xml_node at = node; at != top; at = at.parent(), --depth)
        if (pugi::xml_node next = at.next_sibling()) return next;
    return {};
}

void collectElements(const pugi::xml_node& top, const char* name, std::vector<XmlNode>& out) {
    std::size_t depth = 1;
    for (pugi::xml_node at = top.first_child(); at; at = nextInSubtree(at, top, depth))
        if (at.type() == pugi::node_element && (!name || std::string_view(at.name()) == name))
            out.emplace_back(at);
}

void collectText(const pugi::xml_node& top, std::string& out) {
    std::size_t depth = 1;
    for (pugi::xml_node at = top.first_child(); at; at = nextInSubtree(at, top, depth))
        if (at.type() == pugi::node_pcdata || at.type() == pugi::node_cdata) out += at.value();
}

// Whether no element lies deeper than kDeepestNesting; the document element is level 1.
bool nestingWithinLimit(const pugi::xml_document& document) {
    std::size_t depth = 1;
    for (pugi::xml_node at = document.first_child(); at; at = nextInSubtree(at, document, depth))
        if (at.type() == pugi::node_element && depth > kDeepestNesting) return false;
    return true;
}

}  // namespace

std::string XmlNode::text() const {
    if (node_.type() == pugi::node_pcdata || node_.type() == pugi::node_cdata) return node_.value();
    // The common element: one run of text and nothing else.
    const pugi::xml_node only = node_.first_child();
    if (only && !only.next_sibling() &&
        (only.type() == pugi::node_pcdata || only.type() == pugi::node_cdata))
        return only.value();
    std::string out;
    collectText(node_, out);
    return out;
}

void XmlNode::setText(const std::string& text) {
    while (pugi::xml_node child = node_.first_child()) node_.remove_child(child);
    if (!text.empty()) node_.append_child(pugi::node_pcdata).set_value(text.c_str());
}

XmlNode XmlNode::firstChildElement() const {
    for (pugi::xml_node child = node_.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element) return XmlNode(child);
    return {};
}

XmlNode XmlNode::nextSiblingElement() const {
    for (pugi::xml_node next = node_.next_sibling(); next; next = next.next_sibling())
        if (next.type() == pugi::node_element) return XmlNode(next);
    return {};
}

std::vector<XmlNode> XmlNode::childNodes() const {
    std::vector<XmlNode> children;
    for (pugi::xml_node child = node_.first_child(); child; child = child.next_sibling())
        children.emplace_back(child);
    return children;
}

XmlNode XmlNode::appendElement(const std::string& name, const std::string& text) {
    XmlNode element(node_.append_child(name.c_str()));
    if (element && !text.empty()) element.setText(text);
    return element;
}

bool XmlNode::removeChild(const XmlNode& child) {
    return node_.remove_child(child.node_);
}

XmlNode XmlNode::selectSingleNode(const std::string& xpath) const {
    try {
        return XmlNode(node_.select_node(xpath.c_str()).node());
    } catch (const pugi::xpath_exception&) {
        return {};
    }
}

XmlDocument::XmlDocument() : document_(std::make_unique<pugi::xml_document>()) {}

bool XmlDocument::load(const std::string& path, Spaces spaces) {
    document_->reset();
    const unsigned options =
        kParseOptions | (spaces == Spaces::Keep ? pugi::parse_ws_pcdata_single : 0u);
    return taken(document_->load_file(path.c_str(), options));
}

bool XmlDocument::loadXml(const std::string& text) {
    document_->reset();
    return taken(document_->load_buffer(text.data(), text.size(), kParseOptions));
}

bool XmlDocument::taken(const pugi::xml_parse_result& parsed) {
    if (parsed && documentElement() && nestingWithinLimit(*document_)) return true;
    document_->reset();
    return false;
}

bool XmlDocument::save(const std::string& path) const {
    return writeFileAtomically(path, xml());
}

std::string XmlDocument::xml() const {
    std::ostringstream out;
    document_->save(out, "", kSaveOptions);
    return out.str();
}

XmlNode XmlDocument::documentElement() const {
    return XmlNode(document_->document_element());
}

std::vector<XmlNode> XmlDocument::allElements() const {
    std::vector<XmlNode> elements;
    collectElements(*document_, nullptr, elements);
    return elements;
}

std::vector<XmlNode> XmlDocument::elementsByTagName(const std::string& name) const {
    std::vector<XmlNode> elements;
    collectElements(*document_, name.c_str(), elements);
    return elements;
}

XmlNode XmlDocument::selectSingleNode(const std::string& xpath) const {
    return XmlNode(*document_).selectSingleNode(xpath);
}

}  // namespace tl
