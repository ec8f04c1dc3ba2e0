#pragma once

#include <mutex>
#include <string>

#include "Database.h"
#include "ListingTextIndex.h"
#include "MarketStore.h"

namespace tl::market {

// The market kept in one SQLite file, for a single server process: the quick search runs on an
// in-memory text index of the listings, built when the store opens.
class SqliteMarketStore final : public MarketStore {
public:
    // Opens (creating, upgrading and seeding as needed) the database at path.
    explicit SqliteMarketStore(const std::string& path);

    bool createMember(const Member& member, const std::string& password) override;
    bool updateMember(const Member& member, const std::string& password) override;
    std::optional<Member> member(const std::string& username) override;
    bool heartbeat(const std::string& username, const std::string& address) override;
    void logOff(const std::string& username, const std::string& address) override;
    std::string onlineAddress(const std::string& username) override;
    std::int64_t passwordChanged(const std::string& username) override;

    std::optional<std::int64_t> addListing(const Listing& listing) override;
    bool editListing(const Listing& listing) override;
    void setFileSize(std::int64_t productid, std::int64_t kilobytes) override;
    std::optional<Listing> listing(std::int64_t productid) override;
    void removeListing(std::int64_t productid) override;
    void inactivate(std::int64_t productid) override;
    void reactivate(std::int64_t productid, const std::string& kind) override;
    bool sell(std::int64_t productid, const std::string& buyer, const std::string& price) override;

    FilePut putListingFile(std::int64_t productid, const std::string& owner, const KeptFile& file,
                           std::string_view bytes) override;
    bool keepListingFiles(std::int64_t productid, const std::string& owner,
                          const std::vector<std::string>& names) override;
    std::vector<KeptFile> keptFiles(std::int64_t productid) override;
    std::optional<std::string> keptFileBytes(std::int64_t productid,
                                             const std::string& name) override;
    std::vector<std::int64_t> keptListings(const std::string& owner) override;

    std::vector<ListingRecord> search(const std::string& criteria, KindFilter kinds) override;
    std::vector<ListingRecord> advancedSearch(const AdvancedCriteria& criteria) override;
    std::vector<ListingRecord> favourites(const std::string& username) override;
    std::vector<ListingRecord> bought(const std::string& username) override;
    std::vector<ListingRecord> memberListings(const std::string& username) override;
    std::vector<ListingRecord> newestListings(int count) override;

    bool addFavourite(const std::string& username, std::int64_t productid) override;
    bool isFavourite(const std::string& username, std::int64_t productid) override;
    void removeFavourite(const std::string& username, std::int64_t productid) override;

    std::vector<std::string> clubs() override;
    bool addClub(const std::string& name) override;

    void addMessage(const Message& message) override;
    std::vector<Message> messages(const std::string& recipient) override;
    int unreadMessages(const std::string& recipient) override;
    void markMessagesRead(const std::string& recipient) override;

    void addCategorySuggestion(const std::string& sender, const std::string& category,
                               const std::string& parent, const std::string& note) override;
    int categorySuggestionCount() override;

    void addListings(const std::vector<Listing>& listings) override;

private:
    std::optional<StoredPasswords> storedPasswords(const std::string& username) override;
    void setOnline(const std::string& username, const std::string& address,
                   bool takeTemporary) override;
    FailureCounts recentFailures(const std::string& username, const std::string& address) override;
    void addFailure(const std::string& username, const std::string& address) override;
    void clearFailures(const std::string& username, const std::string& address) override;
    int recentTemporaryRequests(const std::string& username) override;
    void storeTemporaryPassword(const std::string& username, const std::string& hash) override;

    std::vector<ListingRecord> records(Statement& statement);
    // The records a record query selects for one member (?1 the online cut-off, ?2 the member).
    std::vector<ListingRecord> memberRecords(const std::string& sql, const std::string& username);
    // Releases the listing's files not named (and the blobs no file names any more); the listing
    // is kept when names is not empty and every name is stored (true), else not. Runs inside
    // the caller's transaction.
    bool keepFiles(Connection& db, std::int64_t productid, const std::vector<std::string>& names);
    // Brings the text index in line with the listing's row (or its absence).
    void reindex(Connection& db, std::int64_t productid);
    // What the text index keeps of a listing, in the columns index() reads.
    static constexpr const char* kIndexedColumns =
        "SELECT productid, titlebar, description, state, kind FROM listings";
    // Puts the listing of a row of kIndexedColumns into the text index.
    void index(const Statement& row);

    Database database_;
    ListingTextIndex textIndex_;
    // Listing writes and their index updates happen one at a time, in the same order.
    std::mutex listingWrites_;
};

}  // namespace tl::market
