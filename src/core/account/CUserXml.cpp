#include "core/account/CUserXml.h"

#include "core/account/UserNames.h"
#include "core/platform/Files.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Ui.h"
#include "core/platform/XmlDocument.h"

namespace tl {
namespace {

struct Element {
    const char* name;
    std::string UserValues::*value;
};
constexpr Element kElements[] = {
    {"firstname", &UserValues::firstname},
    {"lastname", &UserValues::lastname},
    {"email", &UserValues::email},
    {"address", &UserValues::address},
    {"city", &UserValues::city},
    {"state", &UserValues::state},
    {"zipcode", &UserValues::zipcode},
    {"contact", &UserValues::contact},
    {"connection", &UserValues::connection},
    {"phone", &UserValues::phone},
    {"username", &UserValues::username},
    {"country", &UserValues::country},
    {"club1", &UserValues::club1},
    {"club2", &UserValues::club2},
};

}  // namespace

bool CUserXml::Save() const {
    const std::string path = userDocumentPath(values.username);
    if (path.empty() || !createDirectories(usersDirectory())) return false;
    XmlDocument document;
    if (!document.loadXml("<user></user>")) return false;
    XmlNode root = document.documentElement();
    for (const Element& element : kElements)
        root.appendElement(element.name, values.*element.value);
    return document.save(path);
}

bool CUserXml::SaveOrReport() const {
    if (Save()) return true;
    ui().messageBox("Error", "Unable to Save User document.");
    return false;
}

bool CUserXml::Load(const std::string& user) {
    values = UserValues{};
    const std::string path = userDocumentPath(user);
    XmlDocument document;
    if (path.empty() || !document.load(path)) return false;
    for (const Element& element : kElements) {
        const auto found = document.elementsByTagName(element.name);
        if (!found.empty()) values.*element.value = found.front().text();
    }
    return true;
}

endpoints::MemberFields CUserXml::memberFields() const {
    const UserValues& v = values;
    return {v.username, v.firstname, v.lastname,   v.address, v.city,
            v.zipcode,  v.state,     v.connection, v.contact, v.email,
            v.phone,    v.club1,     v.club2,      v.country, password};
}

}  // namespace tl
