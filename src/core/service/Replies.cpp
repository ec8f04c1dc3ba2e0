#include "core/service/Replies.h"

namespace tl {

std::vector<XmlNode> resultRecords(const XmlDocument& document) {
    std::vector<XmlNode> records;
    const XmlNode root = document.documentElement();
    if (!root || !root.hasChildNodes()) return records;
    for (XmlNode record = document.selectSingleNode("/results/*"); record;
         record = record.nextSiblingElement())
        records.push_back(record);
    return records;
}

std::string recordField(const XmlNode& record, const std::string& field) {
    const XmlNode node = record.selectSingleNode(field);
    return node ? node.text() : std::string();
}

std::string replaceAll(std::string text, const std::string& what, const std::string& by) {
    if (what.empty()) return text;
    // Built afresh rather than replaced in place, so a reply full of matches costs linear time.
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(what, from)) != std::string::npos; from = at + what.size())
        out.append(text, from, at - from).append(by);
    if (from == 0) return text;
    return out.append(text, from);
}

std::string stringWrapperStart(const std::string& host) {
    return "<string xmlns=\"http://" + host + "/\">";
}

std::string unwrapStringDocument(const std::string& reply, const std::string& host) {
    std::string text = replaceAll(reply, stringWrapperStart(host), "");
    text = replaceAll(text, "</string>", "");
    text = replaceAll(text, "&lt;", "<");
    return replaceAll(text, "&gt;", ">");
}

}  // namespace tl
