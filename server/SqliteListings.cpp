// The listings' part of the SQLite store: listing changes, searches and the lists of records.
#include <algorithm>

#include "SqliteMarketStore.h"
#include "StoreRules.h"
#include "Text.h"
#include "core/service/MarketContract.h"

namespace tl::market {
namespace {

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
    bool changed = false;
    db->transaction([&] {
        db->prepare(
              "UPDATE listings SET titlebar = ?, description = ?, quantity = ?, shipping = ?, "
              "shippingpay = ?, zipcode = ?, category1 = ?, category2 = ?, price = ?, "
              "price_value = ?, kind = ?, state = 'ACTIVE', buyer = '', sale_price = '' "
              "WHERE productid = ? AND owner = ?")
            .bind(l.titlebar, l.description, l.quantity, l.shipping, l.shippingpay, l.zipcode,
                  l.category1, l.category2, l.price, accepted->priceValue, l.kind, l.productid,
                  l.owner)
            .run();
        changed = db->changes() == 1;
        // The kept files are the old listing's until the owner sends the new one's.
        if (changed)
            db->prepare("DELETE FROM kept_listings WHERE productid = ?").bind(l.productid).run();
    });
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
        keepFiles(*db, productid, {});
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
