#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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
    std::int64_t fileskept = 0;  // 1 while the marketplace keeps the listing's files
};

// A file of a listing that the marketplace keeps: its name, size in bytes and SHA-256 digest
// (64 lowercase hexadecimal digits). The bytes are kept once per digest, however many listings
// name them.
struct KeptFile {
    std::string name;
    std::int64_t size = 0;
    std::string sha256;
};

enum class FilePut { Stored, NoListing, TooManyFiles, MemberFull };

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

    // Failed logins count against a member at an address, and against the address: once
    // either count reaches kGuessLimit within kGuessWindowSeconds, further tries from the
    // address (for the member, or for anyone) are refused until older failures age out.
    static constexpr int kGuessLimit = 5;
    static constexpr std::int64_t kGuessWindowSeconds = 15 * 60;
    // A lost-password request adds a temporary password, valid this long beside the member's
    // own; at most kTemporaryRequests requests per member are acted on in that time.
    static constexpr std::int64_t kTemporarySeconds = 60 * 60;
    static constexpr int kTemporaryRequests = 3;

    virtual bool createMember(const Member& member, const std::string& password) = 0;
    // "" keeps the password; a new one cancels a temporary password.
    virtual bool updateMember(const Member& member, const std::string& password) = 0;
    virtual std::optional<Member> member(const std::string& username) = 0;

    // Checks the password (or the member's unexpired temporary password) from the address; on
    // a match the member counts as online there, and a temporary password used becomes the
    // password, while the member's own cancels it. Answers WrongPassword, whatever the
    // password, while guessing from the address is refused.
    LoginResult login(const std::string& username, const std::string& password,
                      const std::string& address);
    // Whether the password is the member's own, counted and refused as a login try is (it
    // changes nothing else).
    bool passwordConfirmed(const std::string& username, const std::string& password,
                           const std::string& address);
    // Keeps the member online when the heartbeat comes from where the member is online, and
    // changes nothing otherwise. True for a known member either way.
    virtual bool heartbeat(const std::string& username, const std::string& address) = 0;
    // Ends the member's online state when the request comes from where the member is online.
    virtual void logOff(const std::string& username, const std::string& address) = 0;
    // The address of the member's latest login while they count as online, else "".
    virtual std::string onlineAddress(const std::string& username) = 0;
    bool passwordMatches(const std::string& username, const std::string& password);
    // Adds the temporary password beside the member's own; false (and nothing stored) when the
    // member has had kTemporaryRequests of them within the last kTemporarySeconds.
    bool addTemporaryPassword(const std::string& username, const std::string& password);
    // When the member's password was last changed (unix time), 0 when never since registering.
    virtual std::int64_t passwordChanged(const std::string& username) = 0;

    virtual std::optional<std::int64_t> addListing(const Listing& listing) = 0;
    virtual bool editListing(const Listing& listing) = 0;  // only the owner's; makes it active
    virtual void setFileSize(std::int64_t productid, std::int64_t kilobytes) = 0;
    virtual std::optional<Listing> listing(std::int64_t productid) = 0;
    virtual void removeListing(std::int64_t productid) = 0;
    virtual void inactivate(std::int64_t productid) = 0;
    virtual void reactivate(std::int64_t productid, const std::string& kind) = 0;
    virtual bool sell(std::int64_t productid, const std::string& buyer,
                      const std::string& price) = 0;

    // Stores the file (whose digest the caller has checked) as the listing's file of that name,
    // counted against the owner, replacing a file of the same name. Changes nothing when the
    // listing is gone, would have more than kMostKeptFilesPerListing files, or the owner's files
    // would be over kMostKeptMemberBytes in all. A file that changes the listing's set makes the
    // listing not kept.
    virtual FilePut putListingFile(std::int64_t productid, const std::string& owner,
                                   const KeptFile& file, std::string_view bytes) = 0;
    // Releases the listing's files that are not named; the listing is kept from now on when
    // every named file is stored (true), else not. No names release every file.
    virtual bool keepListingFiles(std::int64_t productid, const std::string& owner,
                                  const std::vector<std::string>& names) = 0;
    // The listing's files by name while it is kept; nothing otherwise.
    virtual std::vector<KeptFile> keptFiles(std::int64_t productid) = 0;
    // The bytes of the listing's file of that name while the listing is kept.
    virtual std::optional<std::string> keptFileBytes(std::int64_t productid,
                                                     const std::string& name) = 0;
    // The member's listings that are kept.
    virtual std::vector<std::int64_t> keptListings(const std::string& owner) = 0;

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
    // The member's password hashes; nothing for an unknown member.
    struct StoredPasswords {
        std::string password;
        std::string temporary;  // "" when there is none or it expired
    };
    virtual std::optional<StoredPasswords> storedPasswords(const std::string& username) = 0;
    // The member counts as online at the address from now on; the temporary password becomes
    // the password when takeTemporary, and is cancelled either way.
    virtual void setOnline(const std::string& username, const std::string& address,
                           bool takeTemporary) = 0;

    struct FailureCounts {
        int memberAtAddress = 0;  // failures for the member from the address
        int atAddress = 0;        // failures for anyone from the address
    };
    // Failed logins within the last kGuessWindowSeconds.
    virtual FailureCounts recentFailures(const std::string& username,
                                         const std::string& address) = 0;
    // Records a failed login (dropping those older than the window).
    virtual void addFailure(const std::string& username, const std::string& address) = 0;
    // Forgets the member's failures from the address, after a login there succeeded.
    virtual void clearFailures(const std::string& username, const std::string& address) = 0;

    // Temporary passwords requested for the member within the last kTemporarySeconds.
    virtual int recentTemporaryRequests(const std::string& username) = 0;
    // Records the request and keeps the hash as the member's temporary password for
    // kTemporarySeconds.
    virtual void storeTemporaryPassword(const std::string& username, const std::string& hash) = 0;

private:
    enum class PasswordCheck { Refused, NoSuchMember, Wrong, Password, Temporary };
    PasswordCheck checkPassword(const std::string& username, const std::string& password,
                                const std::string& address);
};

// Opens the store a --database value names: "sqlite:PATH" or a "postgresql://" (or
// "postgres://") connection URI. Creates or upgrades the schema. Throws DatabaseError when it
// cannot, or std::invalid_argument for a value of neither form.
std::unique_ptr<MarketStore> openMarketStore(const std::string& database);

}  // namespace tl::market
