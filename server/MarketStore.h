#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DatabaseError.h"

namespace tl::market {

// A member's account data (everything but the password).
struct Member {
    std::string username, firstname, lastname, address, city, zipcode, state, connection, contact,
        email, phone, club1, club2, country;
};

// A listing of the index. price is the text the member entered: "-1" make offer, "0" free.
struct Listing {
    std::int64_t productid = 0;
    std::string owner, titlebar, description, quantity, shipping, shippingpay, zipcode, category1,
        category2, paymentterms, paymentmethods, escrow, price;
    std::string kind;   // "Selling" or "Buying"
    std::string state;  // "ACTIVE", "SOLD" or "INACTIVE"
    std::int64_t filesize = 0;
    std::string buyer, salePrice;
};

// One record of a list reply: a listing with what is known about its poster.
struct ListingRecord {
    std::int64_t productid = 0;
    std::string titlebar, username, ipaddress, connection, email, price, status;
    std::int64_t filesize = 0;
};

// Which kinds a search returns.
enum class KindFilter { Both, Selling, Buying };
KindFilter kindFilter(const std::string& status);

struct AdvancedCriteria {
    std::string titlebar, description, zipcode, category, club, user;
    std::optional<double> price;
    bool priceGreater = true;
    KindFilter kinds = KindFilter::Both;
};

struct Message {
    std::int64_t id = 0;
    std::string sender, recipient, productid, title, body, price;
    std::int64_t sent = 0;
    bool read = false;
};

enum class LoginResult { Match, NoSuchMember, WrongPassword };

// The marketplace's data: members, listings, favourites, clubs, messages and category
// suggestions. Every method is safe to call from any request thread. Member texts are stored in
// their stored form (see storedText); passwords as salted hashes. Two kinds of storage keep it:
// an embedded SQLite file (one server process) and a PostgreSQL database (any number of server
// processes sharing it).
class MarketStore {
public:
    virtual ~MarketStore() = default;

    // The longest list a search answers with: the newest records.
    static constexpr int kMaxResults = 250;
    // A member counts as online this long after the latest login or heartbeat.
    static constexpr std::int64_t kOnlineSeconds = 11 * 60;

    virtual bool createMember(const Member& member, const std::string& password) = 0;
    virtual bool updateMember(const Member& member,
                              const std::string& password) = 0;  // "" keeps it
    virtual std::optional<Member> member(const std::string& username) = 0;
    // Checks the password; on a match the member counts as online at the address.
    LoginResult login(const std::string& username, const std::string& password,
                      const std::string& address);
    virtual bool heartbeat(const std::string& username, const std::string& address) = 0;
    virtual void logOff(const std::string& username) = 0;
    // The address of the member's latest login or heartbeat while they count as online, else "".
    virtual std::string onlineAddress(const std::string& username) = 0;
    bool passwordMatches(const std::string& username, const std::string& password);
    virtual bool setPassword(const std::string& username, const std::string& password) = 0;

    virtual std::optional<std::int64_t> addListing(const Listing& listing) = 0;
    virtual bool editListing(const Listing& listing) = 0;  // only the owner's; makes it active
    virtual void setFileSize(std::int64_t productid, std::int64_t kilobytes) = 0;
    virtual std::optional<Listing> listing(std::int64_t productid) = 0;
    virtual void removeListing(std::int64_t productid) = 0;
    virtual void inactivate(std::int64_t productid) = 0;
    virtual void reactivate(std::int64_t productid, const std::string& kind) = 0;
    virtual bool sell(std::int64_t productid, const std::string& buyer,
                      const std::string& price) = 0;

    // Active listings whose title or description contains the criteria (ASCII letters matched
    // without regard to case), newest first; every active listing when the criteria are empty.
    virtual std::vector<ListingRecord> search(const std::string& criteria, KindFilter kinds) = 0;
    virtual std::vector<ListingRecord> advancedSearch(const AdvancedCriteria& criteria) = 0;
    virtual std::vector<ListingRecord> favourites(const std::string& username) = 0;
    virtual std::vector<ListingRecord> bought(const std::string& username) = 0;
    virtual std::vector<ListingRecord> memberListings(const std::string& username) = 0;
    virtual std::vector<ListingRecord> newestListings(int count) = 0;

    virtual bool addFavourite(const std::string& username, std::int64_t productid) = 0;
    virtual bool isFavourite(const std::string& username, std::int64_t productid) = 0;
    virtual void removeFavourite(const std::string& username, std::int64_t productid) = 0;

    virtual std::vector<std::string> clubs() = 0;
    virtual bool addClub(const std::string& name) = 0;

    virtual void addMessage(const Message& message) = 0;
    virtual std::vector<Message> messages(const std::string& recipient) = 0;
    virtual int unreadMessages(const std::string& recipient) = 0;
    virtual void markMessagesRead(const std::string& recipient) = 0;

    virtual void addCategorySuggestion(const std::string& sender, const std::string& category,
                                       const std::string& parent, const std::string& note) = 0;
    virtual int categorySuggestionCount() = 0;

    // Inserts many listings in one transaction (seeding benchmarks and demonstrations).
    virtual void addListings(const std::vector<Listing>& listings) = 0;

protected:
    // The member's stored password hash; nothing for an unknown member.
    virtual std::optional<std::string> passwordHash(const std::string& username) = 0;
    // The member counts as online at the address from now on.
    virtual void setOnline(const std::string& username, const std::string& address) = 0;
};

// Opens the store a --database value names: "sqlite:PATH" or a "postgresql://" (or
// "postgres://") connection URI. Creates or upgrades the schema. Throws DatabaseError when it
// cannot, or std::invalid_argument for a value of neither form.
std::unique_ptr<MarketStore> openMarketStore(const std::string& database);

}  // namespace tl::market
