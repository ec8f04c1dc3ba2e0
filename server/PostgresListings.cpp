// The listings' part of the PostgreSQL store: listing changes and the lists of records.
#include <algorithm>

#include "PostgresMarketStore.h"
#include "PostgresSql.h"
#include "StoreRules.h"
#include "Text.h"
#include "core/service/MarketContract.h"

namespace tl::market {

std::string recordSelect(const char* priceColumn, const std::string& listings) {
    return "SELECT l.productid, l.titlebar, l.owner, "
           "CASE WHEN m.online = 1 AND m.last_seen >= " +
           kOnlineCutoff +
           " THEN m.ipaddress ELSE '' END, "
           "COALESCE(m.connection, ''), l.filesize, COALESCE(m.email, ''), " +
           priceColumn +
           ", CASE l.state WHEN 'ACTIVE' THEN l.kind ELSE l.state END "
           "FROM " +
           listings + " l LEFT JOIN members m ON m.username = l.owner ";
}

std::optional<std::int64_t> PostgresMarketStore::addListing(const Listing& listing) {
    const auto accepted = acceptedListing(listing);
    if (!accepted) return std::nullopt;
    const Listing& l = accepted->listing;
    auto db = database_.borrow();
    const auto row = db->query(
        "INSERT INTO listings(owner, titlebar, description, quantity, shipping, shippingpay, "
        "zipcode, category1, category2, paymentterms, paymentmethods, escrow, price, "
        "price_value, kind) "
        "SELECT username, $1::text, $2::text, $3::text, $4::text, $5::text, $6::text, $7::text, "
        "$8::text, $9::text, $10::text, $11::text, $12::text, $13::float8, $14::text "
        "FROM members WHERE username = $15 RETURNING productid",
        l.titlebar, l.description, l.quantity, l.shipping, l.shippingpay, l.zipcode, l.category1,
        l.category2, l.paymentterms, l.paymentmethods, l.escrow, l.price, accepted->priceValue,
        l.kind, l.owner);
    if (row.rows() == 0) return std::nullopt;
    return row.integer(0, 0);
}

bool PostgresMarketStore::editListing(const Listing& listing) {
    const auto accepted = acceptedListing(listing);
    if (!accepted) return false;
    const Listing& l = accepted->listing;
    auto db = database_.borrow();
    bool changed = false;
    db->transaction([&] {
        changed = db->query(
                        "UPDATE listings SET titlebar = $1, description = $2, quantity = $3, "
                        "shipping = $4, shippingpay = $5, zipcode = $6, category1 = $7, "
                        "category2 = $8, price = $9, price_value = $10, kind = $11, "
                        "state = 'ACTIVE', buyer = '', sale_price = '' "
                        "WHERE productid = $12 AND owner = $13",
                        l.titlebar, l.description, l.quantity, l.shipping, l.shippingpay, l.zipcode,
                        l.category1, l.category2, l.price, accepted->priceValue, l.kind,
                        l.productid, l.owner)
                      .affected() == 1;
        // The kept files are the old listing's until the owner sends the new one's.
        if (changed) db->query("DELETE FROM kept_listings WHERE productid = $1", l.productid);
    });
    return changed;
}

void PostgresMarketStore::setFileSize(std::int64_t productid, std::int64_t kilobytes) {
    auto db = database_.borrow();
    db->query("UPDATE listings SET filesize = $1 WHERE productid = $2",
              std::max<std::int64_t>(kilobytes, 0), productid);
}

std::optional<Listing> PostgresMarketStore::listing(std::int64_t productid) {
    auto db = database_.borrow();
    const auto row = db->query(
        "SELECT productid, owner, titlebar, description, quantity, shipping, shippingpay, "
        "zipcode, category1, category2, paymentterms, paymentmethods, escrow, price, kind, "
        "state, filesize, buyer, sale_price FROM listings WHERE productid = $1",
        productid);
    if (row.rows() == 0) return std::nullopt;
    Listing l;
    l.productid = row.integer(0, 0);
    std::string* texts[] = {&l.owner,     &l.titlebar,     &l.description,    &l.quantity,
                            &l.shipping,  &l.shippingpay,  &l.zipcode,        &l.category1,
                            &l.category2, &l.paymentterms, &l.paymentmethods, &l.escrow,
                            &l.price,     &l.kind,         &l.state};
    for (int i = 0; i < 15; ++i) *texts[i] = row.text(0, i + 1);
    l.filesize = row.integer(0, 16);
    l.buyer = row.text(0, 17);
    l.salePrice = row.text(0, 18);
    return l;
}

void PostgresMarketStore::removeListing(std::int64_t productid) {
    auto db = database_.borrow();
    db->transaction([&] {
        const auto owner = db->query("SELECT owner FROM listings WHERE productid = $1", productid);
        if (owner.rows() == 0) return;
        lockOwnerFiles(*db, owner.text(0, 0));
        db->query("DELETE FROM favourites WHERE productid = $1", productid);
        db->query("DELETE FROM listings WHERE productid = $1", productid);
        keepFiles(*db, productid, {});
    });
}

void PostgresMarketStore::inactivate(std::int64_t productid) {
    auto db = database_.borrow();
    db->query("UPDATE listings SET state = $1 WHERE productid = $2", contract::kInactive,
              productid);
}

void PostgresMarketStore::reactivate(std::int64_t productid, const std::string& kind) {
    auto db = database_.borrow();
    // An unknown kind keeps the listing's own.
    db->query(
        "UPDATE listings SET state = 'ACTIVE', buyer = '', sale_price = '', "
        "kind = CASE WHEN $1::text = '' THEN kind ELSE $1::text END WHERE productid = $2",
        kindName(kindFilter(kind)), productid);
}

bool PostgresMarketStore::sell(std::int64_t productid, const std::string& buyer,
                               const std::string& price) {
    auto db = database_.borrow();
    return db->query(
                 "UPDATE listings SET state = $4, buyer = $1::text, sale_price = $2 "
                 "WHERE productid = $3 AND state = 'ACTIVE' "
                 "AND EXISTS (SELECT 1 FROM members WHERE username = $1::text)",
                 buyer, storedText(price), productid, contract::kSold)
               .affected() == 1;
}

std::vector<ListingRecord> PostgresMarketStore::records(const PgResult& result) {
    std::vector<ListingRecord> out;
    out.reserve(static_cast<std::size_t>(result.rows()));
    for (int i = 0; i < result.rows(); ++i) {
        ListingRecord r;
        r.productid = result.integer(i, 0);
        r.titlebar = result.text(i, 1);
        r.username = result.text(i, 2);
        r.ipaddress = result.text(i, 3);
        r.connection = result.text(i, 4);
        r.filesize = result.integer(i, 5);
        r.email = result.text(i, 6);
        r.price = result.text(i, 7);
        r.status = result.text(i, 8);
        out.push_back(std::move(r));
    }
    return out;
}

std::vector<ListingRecord> PostgresMarketStore::favourites(const std::string& username) {
    auto db = database_.borrow();
    return records(db->query(recordSelect() + "JOIN favourites f ON f.productid = l.productid "
                                              "WHERE f.username = $1 ORDER BY l.productid DESC",
                             username));
}

std::vector<ListingRecord> PostgresMarketStore::bought(const std::string& username) {
    auto db = database_.borrow();
    return records(db->query(recordSelect("l.sale_price") +
                                 "WHERE l.state = " + sqlWord(contract::kSold) +
                                 " AND l.buyer = $1 ORDER BY l.productid DESC",
                             username));
}

std::vector<ListingRecord> PostgresMarketStore::memberListings(const std::string& username) {
    auto db = database_.borrow();
    return records(
        db->query(recordSelect() + "WHERE l.owner = $1 ORDER BY l.productid DESC", username));
}

std::vector<ListingRecord> PostgresMarketStore::newestListings(int count) {
    auto db = database_.borrow();
    return records(db->query(
        recordSelect() + "WHERE l.state = 'ACTIVE' ORDER BY l.productid DESC LIMIT $1", count));
}

void PostgresMarketStore::addListings(const std::vector<Listing>& listings) {
    // Rows go in batches: one statement per batch keeps a large seeding quick.
    constexpr std::size_t kBatch = 1000;
    constexpr int kColumns = 16;
    auto db = database_.borrow();
    db->transaction([&] {
        for (std::size_t first = 0; first < listings.size(); first += kBatch) {
            const std::size_t count = std::min(kBatch, listings.size() - first);
            std::string sql =
                "INSERT INTO listings(owner, titlebar, description, quantity, shipping, "
                "shippingpay, zipcode, category1, category2, paymentterms, paymentmethods, "
                "escrow, price, price_value, kind, filesize) VALUES ";
            PgParameters values;
            for (std::size_t i = 0; i < count; ++i) {
                const Listing& l = listings[first + i];
                sql += i ? ",(" : "(";
                for (int column = 1; column <= kColumns; ++column) {
                    const int number = static_cast<int>(i) * kColumns + column;
                    sql += "$" + std::to_string(number) +
                           (column == 14   ? "::float8"
                            : column == 16 ? "::bigint"
                                           : "::text");
                    sql += column < kColumns ? "," : ")";
                }
                values.add(l.owner);
                values.add(storedText(l.titlebar));
                values.add(storedText(l.description));
                for (const std::string* text :
                     {&l.quantity, &l.shipping, &l.shippingpay, &l.zipcode, &l.category1,
                      &l.category2, &l.paymentterms, &l.paymentmethods, &l.escrow, &l.price})
                    values.add(*text);
                values.add(parsePrice(l.price).value_or(0));
                values.add(kindName(kindFilter(l.kind)));
                values.add(l.filesize);
            }
            db->run(sql, values);
        }
    });
}

}  // namespace tl::market
