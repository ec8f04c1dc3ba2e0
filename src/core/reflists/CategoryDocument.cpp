#include "core/reflists/CategoryDocument.h"

#include <algorithm>

#include "core/platform/ServerHost.h"
#include "core/service/Endpoints.h"
#include "core/service/Replies.h"
#include "core/service/ServiceRequest.h"

namespace tl {
namespace {

// The club service answers with its XML payload escaped inside one "string" element (namespace
// the server's root address), after an XML declaration. The unwrapped payload is read inside
// "<categories><root>"; a reply without that wrapper is no club list.
std::string unwrapClubList(const std::string& reply) {
    if (reply.find(stringWrapperStart(serverHost())) == std::string::npos) return {};
    const std::string undeclared =
        replaceAll(reply, "<?xml version=\"1.0\" encoding=\"utf-8\"?>", "");
    return "<categories><root>" + unwrapStringDocument(undeclared, serverHost()) +
           "</root></categories>";
}

}  // namespace

bool CategoryDocument::LoadFile(const std::string& path) {
    return takeElements(document_.load(path));
}

bool CategoryDocument::LoadClubs() {
    std::string reply;
    try {
        reply = requestText(Query(endpoints::kClubList), Credentials::Service);
    } catch (const RequestError&) {
        return takeElements(false);
    }
    return LoadClubReply(reply);
}

bool CategoryDocument::LoadClubReply(const std::string& reply) {
    return takeElements(document_.loadXml(unwrapClubList(reply)));
}

bool CategoryDocument::takeElements(bool loaded) {
    elements_ = loaded ? document_.allElements() : std::vector<XmlNode>{};
    position_ = 0;
    current_ = XmlNode();
    return loaded;
}

void CategoryDocument::NextElement() {
    current_ = position_ < elements_.size() ? elements_[position_] : XmlNode();
    ++position_;
}

std::string CategoryDocument::ElementName() const {
    return current_ ? current_.name() : std::string();
}

std::string CategoryDocument::ParentName() const {
    return current_ ? current_.parent().name() : std::string();
}

std::vector<std::string> CategoryDocument::ClubNames() const {
    std::vector<std::string> names;
    const auto list = std::find_if(elements_.begin(), elements_.end(), [](const XmlNode& element) {
        return element.name() == "Clubs";
    });
    if (list == elements_.end()) return names;
    const XmlNode count = list->firstChildElement();
    for (XmlNode club = count.nextSiblingElement(); club; club = club.nextSiblingElement())
        names.push_back(club.text());
    return names;
}

std::optional<std::vector<std::string>> loadClubNames() {
    CategoryDocument clubs;
    if (!clubs.LoadClubs()) return std::nullopt;
    return clubs.ClubNames();
}

}  // namespace tl
