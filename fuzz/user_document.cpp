// The member's user document: read from the file, written back under its user name and read
// again, every value must come back as it was.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "core/account/CUserXml.h"

namespace {

// The document is read without white-space-only text, so a value of white space alone (which
// a file may spell "&#10;") reads back empty by design; and a carriage return (spelt "&#13;")
// is written as it is, which XML's end-of-line handling reads back as a line feed.
std::string asRead(std::string value) {
    if (value.find_first_not_of(" \t\r\n") == std::string::npos) return {};
    std::string read;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\r') {
            read += value[i];
        } else if (i + 1 == value.size() || value[i + 1] != '\n') {
            read += '\n';
        }
    }
    return read;
}

bool sameValues(const tl::UserValues& a, const tl::UserValues& b) {
    const auto fields = [](const tl::UserValues& v) {
        return std::vector<std::string>{v.firstname, v.lastname, v.email,   v.address,    v.city,
                                        v.state,     v.zipcode,  v.contact, v.connection, v.phone,
                                        v.username,  v.country,  v.club1,   v.club2};
    };
    std::vector<std::string> before = fields(a);
    for (std::string& value : before) value = asRead(value);
    return before == fields(b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tl;
    fuzz::writeHomeFile("users/ann.xml", fuzz::text(data, size));
    CUserXml user;
    if (!user.Load("ann") || !user.Save()) return 0;
    CUserXml again;
    fuzz::require(again.Load(user.values.username), "a saved user document that does not load");
    fuzz::require(sameValues(user.values, again.values), "a user value changed by saving");
    return 0;
}
