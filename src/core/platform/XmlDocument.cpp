#include "core/platform/XmlDocument.h"

#include <sstream>

#include "core/platform/Files.h"

namespace tl {
namespace {

constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_pi;
constexpr unsigned kSaveOptions =
    pugi::format_raw | pugi::format_no_declaration | pugi::format_no_empty_element_tags;

void collectElements(const pugi::xml_node& node, const char* name, std::vector<XmlNode>& out) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        if (!name || std::string_view(child.name()) == name) out.emplace_back(child);
        collectElements(child, name, out);
    }
}

void collectText(const pugi::xml_node& node, std::string& out) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            out += child.value();
        else if (child.type() == pugi::node_element)
            collectText(child, out);
    }
}

}  // namespace

std::string XmlNode::text() const {
    if (node_.type() == pugi::node_pcdata || node_.type() == pugi::node_cdata) return node_.value();
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
    return static_cast<bool>(document_->load_file(path.c_str(), options)) && documentElement();
}

bool XmlDocument::loadXml(const std::string& text) {
    document_->reset();
    return static_cast<bool>(document_->load_buffer(text.data(), text.size(), kParseOptions)) &&
           documentElement();
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
