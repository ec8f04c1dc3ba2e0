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
    std::size_t at = 0;
    while ((at = text.find(what, at)) != std::string::npos) {
        text.replace(at, what.size(), by);
        at += by.size();
    }
    return text;
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
