#include "StoreRules.h"

#include <ctime>

#include "PasswordHash.h"
#include "Text.h"
#include "core/service/MarketContract.h"

namespace tl::market {

const char* const kSeedClubs[6] = {"Collectors Circle", "Vintage Traders", "Book Lovers",
                                   "Audio Enthusiasts", "Garden Swap",     "Retro Gamers"};

std::int64_t unixNow() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

KindFilter kindFilter(const std::string& status) {
    const std::string lower = asciiLower(status);
    if (lower == asciiLower(contract::kSelling)) return KindFilter::Selling;
    if (lower == asciiLower(contract::kBuying)) return KindFilter::Buying;
    return KindFilter::Both;
}

const char* kindName(KindFilter kinds) {
    switch (kinds) {
        case KindFilter::Selling:
            return contract::kSelling;
        case KindFilter::Buying:
            return contract::kBuying;
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

std::string sqlWord(const char* word) {
    return std::string("'") + word + "'";
}

std::int64_t onlineCutoff() {
    return unixNow() - MarketStore::kOnlineSeconds;
}

std::optional<AcceptedListing> acceptedListing(const Listing& l) {
    const std::string title = storedText(l.titlebar);
    const auto price = parsePrice(l.price);
    const KindFilter kind = kindFilter(l.kind);
    if (title.empty() || !price || kind == KindFilter::Both) return std::nullopt;
    AcceptedListing accepted{l, *price};
    Listing& a = accepted.listing;
    a.titlebar = title;
    for (std::string* text :
         {&a.description, &a.quantity, &a.shipping, &a.shippingpay, &a.zipcode, &a.category1,
          &a.category2, &a.paymentterms, &a.paymentmethods, &a.escrow})
        *text = storedText(*text);
    a.price = std::string(trimSpaces(l.price));
    a.kind = kindName(kind);
    return accepted;
}

bool MarketStore::passwordMatches(const std::string& username, const std::string& password) {
    const auto stored = storedPasswords(username);
    return stored && passwordMatchesHash(password, stored->password);
}

// A refused try is not counted: the failures before it hold the refusal until they age out.
MarketStore::PasswordCheck MarketStore::checkPassword(const std::string& username,
                                                      const std::string& password,
                                                      const std::string& address) {
    const FailureCounts failures = recentFailures(username, address);
    if (failures.memberAtAddress >= kGuessLimit || failures.atAddress >= kGuessLimit)
        return PasswordCheck::Refused;
    const auto stored = storedPasswords(username);
    if (stored && passwordMatchesHash(password, stored->password)) return PasswordCheck::Password;
    if (stored && !stored->temporary.empty() && passwordMatchesHash(password, stored->temporary))
        return PasswordCheck::Temporary;
    addFailure(username, address);
    return stored ? PasswordCheck::Wrong : PasswordCheck::NoSuchMember;
}

LoginResult MarketStore::login(const std::string& username, const std::string& password,
                               const std::string& address) {
    const PasswordCheck check = checkPassword(username, password, address);
    switch (check) {
        case PasswordCheck::NoSuchMember:
            return LoginResult::NoSuchMember;
        case PasswordCheck::Refused:
        case PasswordCheck::Wrong:
            return LoginResult::WrongPassword;
        case PasswordCheck::Password:
        case PasswordCheck::Temporary:
            break;
    }
    setOnline(username, address, check == PasswordCheck::Temporary);
    clearFailures(username, address);
    return LoginResult::Match;
}

bool MarketStore::passwordConfirmed(const std::string& username, const std::string& password,
                                    const std::string& address) {
    if (checkPassword(username, password, address) != PasswordCheck::Password) return false;
    clearFailures(username, address);
    return true;
}

bool MarketStore::addTemporaryPassword(const std::string& username, const std::string& password) {
    if (recentTemporaryRequests(username) >= kTemporaryRequests) return false;
    storeTemporaryPassword(username, hashPassword(password));
    return true;
}

}  // namespace tl::market
