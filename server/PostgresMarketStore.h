#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <string>

#include "MarketStore.h"
#include "PostgresDatabase.h"
#include "SearchTextSample.h"

namespace tl::market {

// The market kept in a PostgreSQL database that any number of server processes share: every
// reply is read from the database (online state and times included, by the database's clock),
// and the quick search runs on a trigram index of the database, steered by a sample of the newest
// listings that each process takes for itself.
class PostgresMarketStore final : public MarketStore {
public:
    // Connects to the database the URI names, creating, upgrading and seeding the schema as
    // needed (one server process at a time).
    explicit PostgresMarketStore(const std::string& uri);

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

    std::vector<ListingRecord> records(const PgResult& result);
    // Releases the listing's files not named (and the blobs no file names any more); the listing
    // is kept when names is not empty and every name is stored (true), else not. Runs inside
    // the caller's transaction, which holds the owner's file lock.
    bool keepFiles(PgConnection& db, std::int64_t productid, const std::vector<std::string>& names);
    // Takes the lock of the member's files until the transaction ends: their caps hold across
    // server processes.
    static void lockOwnerFiles(PgConnection& db, const std::string& owner);
    std::shared_ptr<const SearchTextSample> searchSample(PgConnection& db);
    // The records of the listings (of the kinds) whose search text holds needle, newest first,
    // at most a page of them, found through the trigram index.
    std::vector<ListingRecord> indexedRecords(PgConnection& db, const std::string& needle,
                                              KindFilter kinds, const SearchTextSample& sample);
    std::size_t marketSize();
    // The most of the newest blocks of listings to ask the index for one by one, for a text
    // that share of the listings hold; 0 when they should not hold a page of results, and the
    // whole index is to be asked at once.
    int newestBlocksToAsk(double share);

    PgDatabase database_;
    std::mutex sampleMutex_;  // guards the three below
    std::shared_ptr<const SearchTextSample> sample_;
    std::chrono::steady_clock::time_point sampleTaken_;
    std::size_t marketSize_ = 0;  // the highest listing id when the sample was taken
    std::mutex sampleTaking_;     // held by the one request taking a sample
};

}  // namespace tl::market
