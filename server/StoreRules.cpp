#include "StoreRules.h"

#include <cctype>
#include <ctime>

#include "Text.h"

namespace tl::market {

const char* const kSeedClubs[6] = {"Collectors Circle", "Vintage Traders", "Book Lovers",
                                   "Audio Enthusiasts", "Garden Swap",     "Retro Gamers"};

std::int64_t unixNow() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

KindFilter kindFilter(const std::string& status) {
    std::string lower;
    for (const char c : status)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "selling") return KindFilter::Selling;
    if (lower == "buying") return KindFilter::Buying;
    return KindFilter::Both;
}

const char* kindName(KindFilter kinds) {
    switch (kinds) {
        case KindFilter::Selling:
            return "Selling";
        case KindFilter::Buying:
            return "Buying";
        case KindFilter::Both:
            break;
    }
    return "";
}

std::string containsPattern(const std::string& text) {
    std::string pattern = "%";
    for (const char c : text) {
        if (c == '%' || c == '_' || c == '\\') pattern += '\\';
        pattern += c;
    }
    return pattern + "%";
}

bool validUserName(const std::string& name) {
    const auto length = characterCount(name);
    return length >= 5 && length <= 50 && storedText(name) == name &&
           name.find_first_of("&#/\\") == std::string::npos && name.find("..") == std::string::npos;
}

Member storedMember(const Member& m) {
    return Member{storedText(m.username), storedText(m.firstname),  storedText(m.lastname),
                  storedText(m.address),  storedText(m.city),       storedText(m.zipcode),
                  storedText(m.state),    storedText(m.connection), storedText(m.contact),
                  storedText(m.email),    storedText(m.phone),      storedText(m.club1),
                  storedText(m.club2),    storedText(m.country)};
}

}  // namespace tl::market
