#include "SqliteMarketStore.h"

#include "StoreRules.h"
#include "Text.h"
#include "core/service/MarketContract.h"

namespace tl::market {
namespace {

// The schema's steps: kSchemaVersionN brings a database from version N-1 to N. A step that both
// stores take has the same number in each, so this store has none of its own at 3 and 4.
constexpr std::int64_t kSchemaVersion = 5;

const char* const kSchemaVersion1 = R"sql(
CREATE TABLE IF NOT EXISTS members (
    username TEXT PRIMARY KEY NOT NULL,
    password TEXT NOT NULL,
    firstname TEXT NOT NULL DEFAULT '', lastname TEXT NOT NULL DEFAULT '',
    address TEXT NOT NULL DEFAULT '', city TEXT NOT NULL DEFAULT '',
    zipcode TEXT NOT NULL DEFAULT '', state TEXT NOT NULL DEFAULT '',
    connection TEXT NOT NULL DEFAULT '', contact TEXT NOT NULL DEFAULT '',
    email TEXT NOT NULL DEFAULT '', phone TEXT NOT NULL DEFAULT '',
    club1 TEXT NOT NULL DEFAULT '', club2 TEXT NOT NULL DEFAULT '',
    country TEXT NOT NULL DEFAULT '',
    online INTEGER NOT NULL DEFAULT 0,
    ipaddress TEXT NOT NULL DEFAULT '',
    last_seen INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS listings (
    productid INTEGER PRIMARY KEY AUTOINCREMENT,
    owner TEXT NOT NULL,
    titlebar TEXT NOT NULL, description TEXT NOT NULL DEFAULT '',
    quantity TEXT NOT NULL DEFAULT '', shipping TEXT NOT NULL DEFAULT '',
    shippingpay TEXT NOT NULL DEFAULT '', zipcode TEXT NOT NULL DEFAULT '',
    category1 TEXT NOT NULL DEFAULT '', category2 TEXT NOT NULL DEFAULT '',
    paymentterms TEXT NOT NULL DEFAULT '', paymentmethods TEXT NOT NULL DEFAULT '',
    escrow TEXT NOT NULL DEFAULT '',
    price TEXT NOT NULL, price_value REAL NOT NULL,
    kind TEXT NOT NULL, state TEXT NOT NULL DEFAULT 'ACTIVE',
    filesize INTEGER NOT NULL DEFAULT 0,
    buyer TEXT NOT NULL DEFAULT '', sale_price TEXT NOT NULL DEFAULT '');
CREATE INDEX IF NOT EXISTS listings_owner ON listings(owner);
CREATE INDEX IF NOT EXISTS listings_buyer ON listings(buyer);
CREATE TABLE IF NOT EXISTS favourites (
    username TEXT NOT NULL, productid INTEGER NOT NULL,
    PRIMARY KEY (username, productid)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS clubs (name TEXT PRIMARY KEY NOT NULL);
CREATE TABLE IF NOT EXISTS messages (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    sender TEXT NOT NULL, recipient TEXT NOT NULL, productid TEXT NOT NULL DEFAULT '',
    title TEXT NOT NULL DEFAULT '', body TEXT NOT NULL DEFAULT '', price TEXT NOT NULL DEFAULT '',
    sent INTEGER NOT NULL, read INTEGER NOT NULL DEFAULT 0);
CREATE INDEX IF NOT EXISTS messages_recipient ON messages(recipient, id);
CREATE TABLE IF NOT EXISTS category_suggestions (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    sender TEXT NOT NULL, category TEXT NOT NULL, parent TEXT NOT NULL DEFAULT '',
    note TEXT NOT NULL DEFAULT '', sent INTEGER NOT NULL);
)sql";

// A temporary password beside the member's own, when the password was last changed, and the
// records that limit password guessing and lost-password requests.
const char* const kSchemaVersion2 = R"sql(
ALTER TABLE members ADD COLUMN temporary_password TEXT NOT NULL DEFAULT '';
ALTER TABLE members ADD COLUMN temporary_until INTEGER NOT NULL DEFAULT 0;
ALTER TABLE members ADD COLUMN password_changed INTEGER NOT NULL DEFAULT 0;
CREATE TABLE IF NOT EXISTS login_failures (
    username TEXT NOT NULL, address TEXT NOT NULL, at INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS login_failures_address ON login_failures(address, at);
CREATE TABLE IF NOT EXISTS temporary_password_requests (
    username TEXT NOT NULL, at INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS temporary_password_requests_username
    ON temporary_password_requests(username, at);
)sql";

// The files the marketplace keeps of listings: each content once by its digest, the listings'
// names for them, and which listings' files are kept (complete as their owner last said).
const char* const kSchemaVersion5 = R"sql(
CREATE TABLE IF NOT EXISTS file_blobs (
    sha256 TEXT PRIMARY KEY NOT NULL,
    bytes BLOB NOT NULL);
CREATE TABLE IF NOT EXISTS listing_files (
    productid INTEGER NOT NULL, name TEXT NOT NULL,
    owner TEXT NOT NULL,
    sha256 TEXT NOT NULL REFERENCES file_blobs(sha256),
    size INTEGER NOT NULL,
    PRIMARY KEY (productid, name)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS listing_files_owner ON listing_files(owner);
CREATE INDEX IF NOT EXISTS listing_files_sha256 ON listing_files(sha256);
CREATE TABLE IF NOT EXISTS kept_listings (productid INTEGER PRIMARY KEY NOT NULL);
)sql";

}  // namespace

SqliteMarketStore::SqliteMarketStore(const std::string& path) : database_(path) {
    auto db = database_.borrow();
    db->transaction([&] {
        db->execute("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
        auto stored = db->prepare("SELECT max(version) FROM schema_version");
        stored.step();
        std::int64_t version = stored.isNull(0) ? -1 : stored.integer(0);
        if (version < 0) {
            // Databases from before the version table kept it in user_version.
            auto legacy = db->prepare("PRAGMA user_version");
            legacy.step();
            version = legacy.integer(0);
        }
        if (version > kSchemaVersion)
            throw DatabaseError(path + " has schema version " + std::to_string(version) +
                                ", newer than this server's " + std::to_string(kSchemaVersion));
        if (version < 1) {
            db->execute(kSchemaVersion1);
            for (const char* club : kSeedClubs)
                db->prepare("INSERT OR IGNORE INTO clubs(name) VALUES (?)").bind(club).run();
        }
        if (version < 2) db->execute(kSchemaVersion2);
        if (version < 5) db->execute(kSchemaVersion5);
        db->execute("DELETE FROM schema_version");
        db->prepare("INSERT INTO schema_version(version) VALUES (?)").bind(kSchemaVersion).run();
    });
    // The text index is built in one pass over the listings.
    auto rows = db->prepare(kIndexedColumns);
    while (rows.step()) index(rows);
}

void SqliteMarketStore::index(const Statement& row) {
    textIndex_.put(row.integer(0), row.text(1), row.text(2), row.text(3) == "ACTIVE",
                   row.text(4) == contract::kBuying ? ListingTextIndex::Kind::Buying
                                                    : ListingTextIndex::Kind::Selling);
}

void SqliteMarketStore::reindex(Connection& db, std::int64_t productid) {
    auto row = db.prepare(std::string(kIndexedColumns) + " WHERE productid = ?");
    row.bind(productid);
    if (row.step())
        index(row);
    else
        textIndex_.remove(productid);
}

bool SqliteMarketStore::addFavourite(const std::string& username, std::int64_t productid) {
    auto db = database_.borrow();
    db->prepare(
          "INSERT OR IGNORE INTO favourites(username, productid) "
          "SELECT m.username, l.productid FROM members m, listings l "
          "WHERE m.username = ? AND l.productid = ?")
        .bind(username, productid)
        .run();
    return isFavourite(username, productid);
}

bool SqliteMarketStore::isFavourite(const std::string& username, std::int64_t productid) {
    auto db = database_.borrow();
    auto query = db->prepare("SELECT 1 FROM favourites WHERE username = ? AND productid = ?");
    query.bind(username, productid);
    return query.step();
}

void SqliteMarketStore::removeFavourite(const std::string& username, std::int64_t productid) {
    auto db = database_.borrow();
    db->prepare("DELETE FROM favourites WHERE username = ? AND productid = ?")
        .bind(username, productid)
        .run();
}

std::vector<std::string> SqliteMarketStore::clubs() {
    auto db = database_.borrow();
    auto query = db->prepare("SELECT name FROM clubs ORDER BY name");
    std::vector<std::string> out;
    while (query.step()) out.push_back(query.text(0));
    return out;
}

bool SqliteMarketStore::addClub(const std::string& name) {
    const std::string stored = storedText(name);
    if (stored.empty() || characterCount(stored) > 50) return false;
    auto db = database_.borrow();
    db->prepare("INSERT OR IGNORE INTO clubs(name) VALUES (?)").bind(stored).run();
    return db->changes() == 1;
}

void SqliteMarketStore::addMessage(const Message& m) {
    auto db = database_.borrow();
    db->prepare(
          "INSERT INTO messages(sender, recipient, productid, title, body, price, sent) "
          "VALUES (?, ?, ?, ?, ?, ?, ?)")
        .bind(m.sender, m.recipient, m.productid, m.title, m.body, m.price, unixNow())
        .run();
}

std::vector<Message> SqliteMarketStore::messages(const std::string& recipient) {
    auto db = database_.borrow();
    auto query = db->prepare(
        "SELECT id, sender, recipient, productid, title, body, price, sent, read FROM messages "
        "WHERE recipient = ? ORDER BY id DESC");
    query.bind(recipient);
    std::vector<Message> out;
    while (query.step()) {
        out.push_back(Message{query.integer(0), query.text(1), query.text(2), query.text(3),
                              query.text(4), query.text(5), query.text(6), query.integer(7),
                              query.integer(8) != 0});
    }
    return out;
}

int SqliteMarketStore::unreadMessages(const std::string& recipient) {
    auto db = database_.borrow();
    auto query = db->prepare("SELECT count(*) FROM messages WHERE recipient = ? AND read = 0");
    query.bind(recipient);
    query.step();
    return static_cast<int>(query.integer(0));
}

void SqliteMarketStore::markMessagesRead(const std::string& recipient) {
    auto db = database_.borrow();
    db->prepare("UPDATE messages SET read = 1 WHERE recipient = ? AND read = 0")
        .bind(recipient)
        .run();
}

void SqliteMarketStore::addCategorySuggestion(const std::string& sender,
                                              const std::string& category,
                                              const std::string& parent, const std::string& note) {
    auto db = database_.borrow();
    db->prepare(
          "INSERT INTO category_suggestions(sender, category, parent, note, sent) "
          "VALUES (?, ?, ?, ?, ?)")
        .bind(sender, storedText(category), storedText(parent), note, unixNow())
        .run();
}

int SqliteMarketStore::categorySuggestionCount() {
    auto db = database_.borrow();
    auto query = db->prepare("SELECT count(*) FROM category_suggestions");
    query.step();
    return static_cast<int>(query.integer(0));
}

}  // namespace tl::market
