#pragma once

#include <cstdint>
#include <ctime>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Database.h"
#include "ListingTextIndex.h"

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
// suggestions, in one SQLite database. Every method is safe to call from any request thread.
// Member texts are stored in their stored form (see storedText); passwords as salted hashes.
class MarketStore {
public:
    // Opens (creating and seeding on first use) the database at path.
    explicit MarketStore(const std::string& path);

    // The longest list a search answers with: the newest records.
    static constexpr int kMaxResults = 250;
    // A member counts as online this long after the latest login or heartbeat.
    static constexpr std::int64_t kOnlineSeconds = 11 * 60;

    bool createMember(const Member& member, const std::string& password);
    bool updateMember(const Member& member, const std::string& password);  // "" keeps it
    std::optional<Member> member(const std::string& username);
    LoginResult login(const std::string& username, const std::string& password,
                      const std::string& address);
    bool heartbeat(const std::string& username, const std::string& address);
    void logOff(const std::string& username);
    bool passwordMatches(const std::string& username, const std::string& password);
    // The member's address while they count as online, "" otherwise.
    std::string onlineAddress(const std::string& username);
    bool setPassword(const std::string& username, const std::string& password);

    std::optional<std::int64_t> addListing(const Listing& listing);
    bool editListing(const Listing& listing);  // only the owner's; makes it active
    void setFileSize(std::int64_t productid, std::int64_t kilobytes);
    std::optional<Listing> listing(std::int64_t productid);
    void removeListing(std::int64_t productid);
    void inactivate(std::int64_t productid);
    void reactivate(std::int64_t productid, const std::string& kind);
    bool sell(std::int64_t productid, const std::string& buyer, const std::string& price);

    std::vector<ListingRecord> search(const std::string& criteria, KindFilter kinds);
    std::vector<ListingRecord> advancedSearch(const AdvancedCriteria& criteria);
    std::vector<ListingRecord> favourites(const std::string& username);
    std::vector<ListingRecord> bought(const std::string& username);
    std::vector<ListingRecord> memberListings(const std::string& username);
    std::vector<ListingRecord> newestListings(int count);

    bool addFavourite(const std::string& username, std::int64_t productid);
    bool isFavourite(const std::string& username, std::int64_t productid);
    void removeFavourite(const std::string& username, std::int64_t productid);

    std::vector<std::string> clubs();
    bool addClub(const std::string& name);

    void addMessage(const Message& message);
    std::vector<Message> messages(const std::string& recipient);
    int unreadMessages(const std::string& recipient);
    void markMessagesRead(const std::string& recipient);

    void addCategorySuggestion(const std::string& sender, const std::string& category,
                               const std::string& parent, const std::string& note);
    int categorySuggestionCount();

    // Inserts many listings in one transaction (seeding benchmarks and demonstrations).
    void addListings(const std::vector<Listing>& listings);

private:
    std::vector<ListingRecord> records(Statement& statement);
    // The records a record query selects for one member (?1 the online cut-off, ?2 the member).
    std::vector<ListingRecord> memberRecords(const std::string& sql, const std::string& username);
    // Brings the text index in line with the listing's row (or its absence).
    void reindex(Connection& db, std::int64_t productid);

    Database database_;
    ListingTextIndex textIndex_;
    // Listing writes and their index updates happen one at a time, in the same order.
    std::mutex listingWrites_;
};

}  // namespace tl::market
