// The members' part of the PostgreSQL store: accounts, passwords and where members are online.
#include "PasswordHash.h"
#include "PostgresMarketStore.h"
#include "PostgresSql.h"
#include "StoreRules.h"

namespace tl::market {

bool PostgresMarketStore::createMember(const Member& member, const std::string& password) {
    if (!validUserName(member.username)) return false;
    const Member m = storedMember(member);
    auto db = database_.borrow();
    return db->query(
                 "INSERT INTO members(username, password, firstname, lastname, address, city, "
                 "zipcode, state, connection, contact, email, phone, club1, club2, country) "
                 "VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13, $14, $15) "
                 "ON CONFLICT DO NOTHING",
                 m.username, hashPassword(password), m.firstname, m.lastname, m.address, m.city,
                 m.zipcode, m.state, m.connection, m.contact, m.email, m.phone, m.club1, m.club2,
                 m.country)
               .affected() == 1;
}

bool PostgresMarketStore::updateMember(const Member& member, const std::string& password) {
    const Member m = storedMember(member);
    auto db = database_.borrow();
    // An empty password keeps the stored hash.
    return db->query(
                 "UPDATE members SET firstname = $1, lastname = $2, address = $3, city = $4, "
                 "zipcode = $5, state = $6, connection = $7, contact = $8, email = $9, "
                 "phone = $10, club1 = $11, club2 = $12, country = $13, "
                 "password = CASE WHEN $14 = '' THEN password ELSE $14 END, "
                 "password_changed = CASE WHEN $14 = '' THEN password_changed ELSE " TL_NOW
                 " END, temporary_password = CASE WHEN $14 = '' THEN temporary_password "
                 "ELSE '' END, temporary_until = CASE WHEN $14 = '' THEN temporary_until "
                 "ELSE 0 END WHERE username = $15",
                 m.firstname, m.lastname, m.address, m.city, m.zipcode, m.state, m.connection,
                 m.contact, m.email, m.phone, m.club1, m.club2, m.country,
                 password.empty() ? std::string() : hashPassword(password), member.username)
               .affected() == 1;
}

std::optional<Member> PostgresMarketStore::member(const std::string& username) {
    auto db = database_.borrow();
    const auto row = db->query(
        "SELECT username, firstname, lastname, address, city, zipcode, state, connection, "
        "contact, email, phone, club1, club2, country FROM members WHERE username = $1",
        username);
    if (row.rows() == 0) return std::nullopt;
    Member m;
    std::string* fields[] = {&m.username, &m.firstname, &m.lastname,   &m.address, &m.city,
                             &m.zipcode,  &m.state,     &m.connection, &m.contact, &m.email,
                             &m.phone,    &m.club1,     &m.club2,      &m.country};
    for (int i = 0; i < 14; ++i) *fields[i] = row.text(0, i);
    return m;
}

void PostgresMarketStore::setOnline(const std::string& username, const std::string& address,
                                    bool takeTemporary) {
    auto db = database_.borrow();
    db->query("UPDATE members SET online = 1, ipaddress = $1, last_seen = " TL_NOW
              ", password = CASE WHEN $2::integer = 1 THEN temporary_password ELSE password END, "
              "password_changed = CASE WHEN $2::integer = 1 THEN " TL_NOW
              " ELSE password_changed END, temporary_password = '', temporary_until = 0 "
              "WHERE username = $3",
              address, static_cast<int>(takeTemporary), username);
}

bool PostgresMarketStore::heartbeat(const std::string& username, const std::string& address) {
    auto db = database_.borrow();
    db->query("UPDATE members SET last_seen = " TL_NOW
              " WHERE username = $1 AND online = 1 AND ipaddress = $2",
              username, address);
    return db->query("SELECT 1 FROM members WHERE username = $1", username).rows() == 1;
}

void PostgresMarketStore::logOff(const std::string& username, const std::string& address) {
    auto db = database_.borrow();
    db->query("UPDATE members SET online = 0 WHERE username = $1 AND ipaddress = $2", username,
              address);
}

std::string PostgresMarketStore::onlineAddress(const std::string& username) {
    auto db = database_.borrow();
    const auto row = db->query(
        "SELECT ipaddress FROM members WHERE username = $1 AND online = 1 AND last_seen >= " +
            kOnlineCutoff,
        username);
    return row.rows() ? row.text(0, 0) : std::string();
}

std::optional<MarketStore::StoredPasswords> PostgresMarketStore::storedPasswords(
    const std::string& username) {
    auto db = database_.borrow();
    const auto row =
        db->query("SELECT password, CASE WHEN temporary_until > " TL_NOW
                  " THEN temporary_password ELSE '' END FROM members WHERE username = $1",
                  username);
    if (row.rows() == 0) return std::nullopt;
    return StoredPasswords{row.text(0, 0), row.text(0, 1)};
}

std::int64_t PostgresMarketStore::passwordChanged(const std::string& username) {
    auto db = database_.borrow();
    const auto row =
        db->query("SELECT password_changed FROM members WHERE username = $1", username);
    return row.rows() == 1 ? row.integer(0, 0) : 0;
}

MarketStore::FailureCounts PostgresMarketStore::recentFailures(const std::string& username,
                                                               const std::string& address) {
    auto db = database_.borrow();
    const auto row = db->query(
        "SELECT count(*), count(*) FILTER (WHERE username = $1) FROM login_failures "
        "WHERE address = $2 AND at > " TL_NOW " - $3::bigint",
        username, address, kGuessWindowSeconds);
    return FailureCounts{static_cast<int>(row.integer(0, 1)), static_cast<int>(row.integer(0, 0))};
}

void PostgresMarketStore::addFailure(const std::string& username, const std::string& address) {
    auto db = database_.borrow();
    db->query("DELETE FROM login_failures WHERE at <= " TL_NOW " - $1::bigint",
              kGuessWindowSeconds);
    db->query("INSERT INTO login_failures(username, address, at) VALUES ($1, $2, " TL_NOW ")",
              username, address);
}

void PostgresMarketStore::clearFailures(const std::string& username, const std::string& address) {
    auto db = database_.borrow();
    db->query("DELETE FROM login_failures WHERE username = $1 AND address = $2", username, address);
}

int PostgresMarketStore::recentTemporaryRequests(const std::string& username) {
    auto db = database_.borrow();
    return static_cast<int>(db->query("SELECT count(*) FROM temporary_password_requests "
                                      "WHERE username = $1 AND at > " TL_NOW " - $2::bigint",
                                      username, kTemporarySeconds)
                                .integer(0, 0));
}

void PostgresMarketStore::storeTemporaryPassword(const std::string& username,
                                                 const std::string& hash) {
    auto db = database_.borrow();
    db->transaction([&] {
        db->query("DELETE FROM temporary_password_requests WHERE at <= " TL_NOW " - $1::bigint",
                  kTemporarySeconds);
        db->query("INSERT INTO temporary_password_requests(username, at) VALUES ($1, " TL_NOW ")",
                  username);
        db->query("UPDATE members SET temporary_password = $1, temporary_until = " TL_NOW
                  " + $2::bigint WHERE username = $3",
                  hash, kTemporarySeconds, username);
    });
}

}  // namespace tl::market
