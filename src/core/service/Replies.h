#pragma once

#include <string>
#include <vector>

#include "core/platform/XmlDocument.h"

namespace tl {

// The records of a results document (root "results", one child element per record), in the
// order the server sent them. A reply that is not such a document has no records.
std::vector<XmlNode> resultRecords(const XmlDocument& document);

// The text of a record's field, empty when the record lacks it.
std::string recordField(const XmlNode& record, const std::string& field);

// The opening tag of the "string" element that wraps a document: namespace "http://" + host + "/".
std::string stringWrapperStart(const std::string& host);

// Unwraps a string-wrapped reply: removes the "string" element's opening tag (namespace
// "http://" + host + "/") and its closing tag, then decodes "&lt;" and "&gt;".
std::string unwrapStringDocument(const std::string& reply, const std::string& host);

// Replaces every occurrence of what with by, scanning left to right.
std::string replaceAll(std::string text, const std::string& what, const std::string& by);

}  // namespace tl
