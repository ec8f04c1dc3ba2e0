#include "SqliteMarketStore.h"

#include <algorithm>
#include <cctype>

#include "PasswordHash.h"
#include "StoreRules.h"
#include "Text.h"
#include "core/service/MarketContract.h"

namespace tl::market {
namespace {

// The schema's steps: kSchemaVersionN brings a database from version N-1 to N.
constexpr std::int64_t kSchemaVersion = 1;

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

// The columns of a list record, in ListingRecord order. ?1 is the earliest "last seen" time of
// a member who still counts as online.
std::string recordSelect(const char* priceColumn = "l.price") {
    return std::string(
               "SELECT l.productid, l.titlebar, l.owner, "
               "CASE WHEN m.online = 1 AND m.last_seen >= ?1 THEN m.ipaddress ELSE '' END, "
               "COALESCE(m.connection, ''), l.filesize, COALESCE(m.email, ''), ") +
           priceColumn +
           ", CASE l.state WHEN 'ACTIVE' THEN l.kind ELSE l.state END "
           "FROM listings l LEFT JOIN members m ON m.username = l.owner ";
}

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
        db->execute("DELETE FROM schema_version");
        db->prepare("INSERT INTO schema_version(version) VALUES (?)").bind(kSchemaVersion).run();
    });
    auto rows = db->prepare("SELECT productid FROM listings");
    while (rows.step()) reindex(*db, rows.integer(0));
}

void SqliteMarketStore::reindex(Connection& db, std::int64_t productid) {
    auto row =
        db.prepare("SELECT titlebar, description, state, kind FROM listings WHERE productid = ?");
    row.bind(productid);
    if (!row.step()) {
        textIndex_.remove(productid);
        return;
    }
    textIndex_.put(productid, row.text(0), row.text(1), row.text(2) == "ACTIVE",
                   row.text(3) == contract::kBuying ? ListingTextIndex::Kind::Buying
                                                    : ListingTextIndex::Kind::Selling);
}

bool SqliteMarketStore::createMember(const Member& member, const std::string& password) {
    if (!validUserName(member.username)) return false;
    const Member m = storedMember(member);
    auto db = database_.borrow();
    auto insert = db->prepare(
        "INSERT OR IGNORE INTO members(username, password, firstname, lastname, address, city, "
        "zipcode, state, connection, contact, email, phone, club1, club2, country) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    insert
        .bind(m.username, hashPassword(password), m.firstname, m.lastname, m.address, m.city,
              m.zipcode, m.state, m.connection, m.contact, m.email, m.phone, m.club1, m.club2,
              m.country)
        .run();
    return db->changes() == 1;
}

bool SqliteMarketStore::updateMember(const Member& member, const std::string& password) {
    const Member m = storedMember(member);
    auto db = database_.borrow();
    db->prepare(
          "UPDATE members SET firstname = ?, lastname = ?, address = ?, city = ?, zipcode = ?, "
          "state = ?, connection = ?, contact = ?, email = ?, phone = ?, club1 = ?, club2 = ?, "
          "country = ? WHERE username = ?")
        .bind(m.firstname, m.lastname, m.address, m.city, m.zipcode, m.state, m.connection,
              m.contact, m.email, m.phone, m.club1, m.club2, m.country, member.username)
        .run();
    const bool found = db->changes() == 1;
    if (found && !password.empty())
        db->prepare("UPDATE members SET password = ? WHERE username = ?")
            .bind(hashPassword(password), member.username)
            .run();
    return found;
}

std::optional<Member> SqliteMarketStore::member(const std::string& username) {
    auto db = database_.borrow();
    auto query = db->prepare(
        "SELECT username, firstname, lastname, address, city, zipcode, state, connection, "
        "contact, email, phone, club1, club2, country FROM members WHERE username = ?");
    query.bind(username);
    if (!query.step()) return std::nullopt;
    Member m;
    std::string* fields[] = {&m.username, &m.firstname, &m.lastname,   &m.address, &m.city,
                             &m.zipcode,  &m.state,     &m.connection, &m.contact, &m.email,
                             &m.phone,    &m.club1,     &m.club2,      &m.country};
    for (int i = 0; i < 14; ++i) *fields[i] = query.text(i);
    return m;
}

void SqliteMarketStore::setOnline(const std::string& username, const std::string& address) {
    auto db = database_.borrow();
    db->prepare("UPDATE members SET online = 1, ipaddress = ?, last_seen = ? WHERE username = ?")
        .bind(address, unixNow(), username)
        .run();
}

bool SqliteMarketStore::heartbeat(const std::string& username, const std::string& address) {
    auto db = database_.borrow();
    db->prepare("UPDATE members SET ipaddress = ?, last_seen = ? WHERE username = ?")
        .bind(address, unixNow(), username)
        .run();
    return db->changes() == 1;
}

void SqliteMarketStore::logOff(const std::string& username) {
    auto db = database_.borrow();
    db->prepare("UPDATE members SET online = 0 WHERE username = ?").bind(username).run();
}

std::string SqliteMarketStore::onlineAddress(const std::string& username) {
    auto db = database_.borrow();
    auto query = db->prepare(
        "SELECT ipaddress FROM members WHERE username = ? AND online = 1 AND last_seen >= ?");
    query.bind(username, onlineCutoff());
    return query.step() ? query.text(0) : std::string();
}

std::optional<std::string> SqliteMarketStore::passwordHash(const std::string& username) {
    auto db = database_.borrow();
    auto query = db->prepare("SELECT password FROM members WHERE username = ?");
    query.bind(username);
    if (!query.step()) return std::nullopt;
    return query.text(0);
}

bool SqliteMarketStore::setPassword(const std::string& username, const std::string& password) {
    auto db = database_.borrow();
    db->prepare("UPDATE members SET password = ? WHERE username = ?")
        .bind(hashPassword(password), username)
        .run();
    return db->changes() == 1;
}

std::optional<std::int64_t> SqliteMarketStore::addListing(const Listing& listing) {
    const auto accepted = acceptedListing(listing);
    if (!accepted) return std::nullopt;
    const Listing& l = accepted->listing;
    auto db = database_.borrow();
    std::lock_guard writes(listingWrites_);
    auto insert = db->prepare(
        "INSERT INTO listings(owner, titlebar, description, quantity, shipping, shippingpay, "
        "zipcode, category1, category2, paymentterms, paymentmethods, escrow, price, "
        "price_value, kind) "
        "SELECT username, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ? FROM members "
        "WHERE username = ? RETURNING productid");
    insert.bind(l.titlebar, l.description, l.quantity, l.shipping, l.shippingpay, l.zipcode,
                l.category1, l.category2, l.paymentterms, l.paymentmethods, l.escrow, l.price,
                accepted->priceValue, l.kind, l.owner);
    if (!insert.step()) return std::nullopt;
    const std::int64_t id = insert.integer(0);
    insert.run();
    reindex(*db, id);
    return id;
}

bool SqliteMarketStore::editListing(const Listing& listing) {
    const auto accepted = acceptedListing(listing);
    if (!accepted) return false;
    const Listing& l = accepted->listing;
    auto db = database_.borrow();
    std::lock_guard writes(listingWrites_);
    db->prepare(
          "UPDATE listings SET titlebar = ?, description = ?, quantity = ?, shipping = ?, "
          "shippingpay = ?, zipcode = ?, category1 = ?, category2 = ?, price = ?, "
          "price_value = ?, kind = ?, state = 'ACTIVE', buyer = '', sale_price = '' "
          "WHERE productid = ? AND owner = ?")
        .bind(l.titlebar, l.description, l.quantity, l.shipping, l.shippingpay, l.zipcode,
              l.category1, l.category2, l.price, accepted->priceValue, l.kind, l.productid, l.owner)
        .run();
    const bool changed = db->changes() == 1;
    reindex(*db, l.productid);
    return changed;
}

void SqliteMarketStore::setFileSize(std::int64_t productid, std::int64_t kilobytes) {
    auto db = database_.borrow();
    db->prepare("UPDATE listings SET filesize = ? WHERE productid = ?")
        .bind(std::max<std::int64_t>(kilobytes, 0), productid)
        .run();
}

std::optional<Listing> SqliteMarketStore::listing(std::int64_t productid) {
    auto db = database_.borrow();
    auto query = db->prepare(
        "SELECT productid, owner, titlebar, description, quantity, shipping, shippingpay, "
        "zipcode, category1, category2, paymentterms, paymentmethods, escrow, price, kind, "
        "state, filesize, buyer, sale_price FROM listings WHERE productid = ?");
    query.bind(productid);
    if (!query.step()) return std::nullopt;
    Listing l;
    l.productid = query.integer(0);
    std::string* texts[] = {&l.owner,     &l.titlebar,     &l.description,    &l.quantity,
                            &l.shipping,  &l.shippingpay,  &l.zipcode,        &l.category1,
                            &l.category2, &l.paymentterms, &l.paymentmethods, &l.escrow,
                            &l.price,     &l.kind,         &l.state};
    for (int i = 0; i < 15; ++i) *texts[i] = query.text(i + 1);
    l.filesize = query.integer(16);
    l.buyer = query.text(17);
    l.salePrice = query.text(18);
    return l;
}

void SqliteMarketStore::removeListing(std::int64_t productid) {
    auto db = database_.borrow();
    std::lock_guard writes(listingWrites_);
    db->transaction([&] {
        db->prepare("DELETE FROM favourites WHERE productid = ?").bind(productid).run();
        db->prepare("DELETE FROM listings WHERE productid = ?").bind(productid).run();
    });
    reindex(*db, productid);
}

void SqliteMarketStore::inactivate(std::int64_t productid) {
    auto db = database_.borrow();
    std::lock_guard writes(listingWrites_);
    db->prepare("UPDATE listings SET state = ? WHERE productid = ?")
        .bind(contract::kInactive, productid)
        .run();
    reindex(*db, productid);
}

void SqliteMarketStore::reactivate(std::int64_t productid, const std::string& kind) {
    const KindFilter k = kindFilter(kind);
    auto db = database_.borrow();
    std::lock_guard writes(listingWrites_);
    // An unknown kind keeps the listing's own.
    db->prepare(
          "UPDATE listings SET state = 'ACTIVE', buyer = '', sale_price = '', "
          "kind = CASE WHEN ?1 = '' THEN kind ELSE ?1 END WHERE productid = ?2")
        .bind(kindName(k), productid)
        .run();
    reindex(*db, productid);
}

bool SqliteMarketStore::sell(std::int64_t productid, const std::string& buyer,
                             const std::string& price) {
    auto db = database_.borrow();
    std::lock_guard writes(listingWrites_);
    db->prepare(
          "UPDATE listings SET state = ?4, buyer = ?1, sale_price = ?2 WHERE productid = ?3 "
          "AND state = 'ACTIVE' AND EXISTS (SELECT 1 FROM members WHERE username = ?1)")
        .bind(buyer, storedText(price), productid, contract::kSold)
        .run();
    const bool sold = db->changes() == 1;
    reindex(*db, productid);
    return sold;
}

std::vector<ListingRecord> SqliteMarketStore::records(Statement& statement) {
    std::vector<ListingRecord> out;
    while (statement.step()) {
        ListingRecord r;
        r.productid = statement.integer(0);
        r.titlebar = statement.text(1);
        r.username = statement.text(2);
        r.ipaddress = statement.text(3);
        r.connection = statement.text(4);
        r.filesize = statement.integer(5);
        r.email = statement.text(6);
        r.price = statement.text(7);
        r.status = statement.text(8);
        out.push_back(std::move(r));
    }
    return out;
}

std::vector<ListingRecord> SqliteMarketStore::search(const std::string& criteria,
                                                     KindFilter kinds) {
    const std::string text = storedText(criteria);
    auto db = database_.borrow();
    if (text.empty()) {
        const std::string sql = recordSelect() +
                                "WHERE l.state = 'ACTIVE' AND (?2 = '' OR l.kind = ?2) "
                                "ORDER BY l.productid DESC LIMIT " +
                                std::to_string(kMaxResults);
        auto query = db->prepare(sql);
        query.bind(onlineCutoff(), kindName(kinds));
        return records(query);
    }
    const ListingTextIndex::Kind kind = kinds == KindFilter::Buying
                                            ? ListingTextIndex::Kind::Buying
                                            : ListingTextIndex::Kind::Selling;
    const auto ids =
        textIndex_.find(text, kinds == KindFilter::Both ? nullptr : &kind, kMaxResults);
    if (ids.empty()) return {};
    std::string list = "[";
    for (const std::int64_t id : ids) list += (list.size() > 1 ? "," : "") + std::to_string(id);
    list += "]";
    // The rows are read again, so a listing changed since the index saw it is judged afresh.
    const std::string sql = recordSelect() +
                            "WHERE l.productid IN (SELECT value FROM json_each(?2)) "
                            "AND l.state = 'ACTIVE' AND (?3 = '' OR l.kind = ?3) "
                            "ORDER BY l.productid DESC";
    auto query = db->prepare(sql);
    query.bind(onlineCutoff(), list, kindName(kinds));
    return records(query);
}

std::vector<ListingRecord> SqliteMarketStore::advancedSearch(const AdvancedCriteria& c) {
    std::string sql = recordSelect() + "WHERE l.state = 'ACTIVE' ";
    std::vector<std::string> texts;  // bound from ?2 on, in order
    auto condition = [&](const std::string& clause, std::initializer_list<std::string> values) {
        sql += "AND " + clause + " ";
        for (const auto& v : values) texts.push_back(v);
    };
    const auto next = [&](int offset = 0) {
        return "?" + std::to_string(texts.size() + 2 + static_cast<std::size_t>(offset));
    };
    if (!c.titlebar.empty())
        condition("l.titlebar LIKE " + next() + " ESCAPE '\\'",
                  {containsPattern(storedText(c.titlebar))});
    if (!c.description.empty())
        condition("l.description LIKE " + next() + " ESCAPE '\\'",
                  {containsPattern(storedText(c.description))});
    if (!c.zipcode.empty()) condition("l.zipcode = " + next(), {storedText(c.zipcode)});
    if (!c.category.empty()) {
        const std::string p = next(), q = next(1);
        condition("(l.category1 = " + p + " OR l.category2 = " + p + " OR substr(l.category1, 1, " +
                      "length(" + q + ")) = " + q + " OR substr(l.category2, 1, length(" + q +
                      ")) = " + q + ")",
                  {storedText(c.category), storedText(c.category) + "; "});
    }
    if (!c.club.empty()) {
        const std::string p = next();
        condition("(m.club1 = " + p + " OR m.club2 = " + p + ")", {storedText(c.club)});
    }
    if (c.kinds != KindFilter::Both) condition("l.kind = " + next(), {kindName(c.kinds)});
    if (!c.user.empty()) condition("l.owner = " + next(), {c.user});
    if (c.price) {
        // Make-offer listings have no price to compare.
        sql += std::string("AND l.price_value >= 0 AND l.price_value ") +
               (c.priceGreater ? ">" : "<") + " ?" + std::to_string(texts.size() + 2) + " ";
    }
    sql += "ORDER BY l.productid DESC LIMIT " + std::to_string(kMaxResults);
    auto db = database_.borrow();
    auto query = db->prepare(sql);
    query.bind(onlineCutoff());
    int index = 2;
    for (const auto& t : texts) query.bindAt(index++, t);
    if (c.price) query.bindAt(index, *c.price);
    return records(query);
}

std::vector<ListingRecord> SqliteMarketStore::memberRecords(const std::string& sql,
                                                            const std::string& username) {
    auto db = database_.borrow();
    auto query = db->prepare(sql);
    query.bind(onlineCutoff(), username);
    return records(query);
}

std::vector<ListingRecord> SqliteMarketStore::favourites(const std::string& username) {
    const std::string sql = recordSelect() +
                            "JOIN favourites f ON f.productid = l.productid "
                            "WHERE f.username = ?2 ORDER BY l.productid DESC";
    return memberRecords(sql, username);
}

std::vector<ListingRecord> SqliteMarketStore::bought(const std::string& username) {
    const std::string sql = recordSelect("l.sale_price") +
                            "WHERE l.state = " + sqlWord(contract::kSold) +
                            " AND l.buyer = ?2 ORDER BY l.productid DESC";
    return memberRecords(sql, username);
}

std::vector<ListingRecord> SqliteMarketStore::memberListings(const std::string& username) {
    const std::string sql = recordSelect() + "WHERE l.owner = ?2 ORDER BY l.productid DESC";
    return memberRecords(sql, username);
}

std::vector<ListingRecord> SqliteMarketStore::newestListings(int count) {
    const std::string sql =
        recordSelect() + "WHERE l.state = 'ACTIVE' ORDER BY l.productid DESC LIMIT ?2";
    auto db = database_.borrow();
    auto query = db->prepare(sql);
    query.bind(onlineCutoff(), count);
    return records(query);
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

void SqliteMarketStore::addListings(const std::vector<Listing>& listings) {
    auto db = database_.borrow();
    std::lock_guard writes(listingWrites_);
    std::vector<std::int64_t> added;
    db->transaction([&] {
        for (const Listing& l : listings) {
            const auto price = parsePrice(l.price);
            db->prepare(
                  "INSERT INTO listings(owner, titlebar, description, quantity, shipping, "
                  "shippingpay, zipcode, category1, category2, paymentterms, paymentmethods, "
                  "escrow, price, price_value, kind, filesize) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .bind(l.owner, storedText(l.titlebar), storedText(l.description), l.quantity,
                      l.shipping, l.shippingpay, l.zipcode, l.category1, l.category2,
                      l.paymentterms, l.paymentmethods, l.escrow, l.price, price.value_or(0),
                      kindName(kindFilter(l.kind)), l.filesize)
                .run();
            added.push_back(db->lastInsertId());
        }
    });
    for (const std::int64_t id : added) reindex(*db, id);
}

}  // namespace tl::market
