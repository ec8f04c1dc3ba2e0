#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace tl {

// The deepest element nesting a loaded document may have (the document element is level 1).
// Documents from outside are walked by the readers; one nested deeper is not loaded.
inline constexpr std::size_t kDeepestNesting = 256;

// A node of an XmlDocument: a light handle that stays valid while its document lives.
class XmlNode {
public:
    XmlNode() = default;
    explicit XmlNode(pugi::xml_node node) : node_(node) {}

    explicit operator bool() const { return static_cast<bool>(node_); }
    bool isElement() const { return node_.type() == pugi::node_element; }

    std::string name() const { return node_.name(); }
    // The text content: all text below the node, in document order.
    std::string text() const;
    void setText(const std::string& text);

    XmlNode parent() const { return XmlNode(node_.parent()); }
    XmlNode firstChild() const { return XmlNode(node_.first_child()); }
    XmlNode firstChildElement() const;
    XmlNode nextSibling() const { return XmlNode(node_.next_sibling()); }
    XmlNode nextSiblingElement() const;
    bool hasChildNodes() const { return static_cast<bool>(node_.first_child()); }
    std::vector<XmlNode> childNodes() const;

    // Creates an element with that name (and text, when not empty) as the last child.
    XmlNode appendElement(const std::string& name, const std::string& text = {});
    bool removeChild(const XmlNode& child);

    // The first node the XPath expression selects from this node, or a null node.
    XmlNode selectSingleNode(const std::string& xpath) const;

    const pugi::xml_node& raw() const { return node_; }

private:
    pugi::xml_node node_;
};

// The document object the program builds, loads and saves: a DOM over pugixml.
class XmlDocument {
public:
    XmlDocument();

    // Whether an element whose only text is white space keeps it (otherwise its text is empty).
    enum class Spaces { Drop, Keep };

    // False, leaving the document empty, when the text is not well-formed, has no document
    // element or nests deeper than kDeepestNesting.
    bool load(const std::string& path, Spaces spaces = Spaces::Drop);  // from a file
    bool loadXml(const std::string& text);                             // from text
    // Writes the document as it stands (no declaration is added); the file is replaced atomically.
    bool save(const std::string& path) const;
    std::string xml() const;

    XmlNode documentElement() const;
    // Every element of the document in document order (the "*" element list).
    std::vector<XmlNode> allElements() const;
    std::vector<XmlNode> elementsByTagName(const std::string& name) const;
    XmlNode selectSingleNode(const std::string& xpath) const;

private:
    // Keeps a parsed document that passes the checks above; empties it otherwise.
    bool taken(const pugi::xml_parse_result& parsed);

    std::unique_ptr<pugi::xml_document> document_;
};

}  // namespace tl
