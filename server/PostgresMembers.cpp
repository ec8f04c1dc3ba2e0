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
                 "password = CASE WHEN $14 = '' THEN password ELSE $14 END "
                 "WHERE username = $15",
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

void PostgresMarketStore::setOnline(const std::string& username, const std::string& address) {
    auto db = database_.borrow();
    db->query("UPDATE members SET online = 1, ipaddress = $1, last_seen = " TL_NOW
              " WHERE username = $2",
              address, username);
}

bool PostgresMarketStore::heartbeat(const std::string& username, const std::string& address) {
    auto db = database_.borrow();
    return db->query("UPDATE members SET ipaddress = $1, last_seen = " TL_NOW
                     " WHERE username = $2",
                     address, username)
               .affected() == 1;
}

void PostgresMarketStore::logOff(const std::string& username) {
    auto db = database_.borrow();
    db->query("UPDATE members SET online = 0 WHERE username = $1", username);
}

std::string PostgresMarketStore::onlineAddress(const std::string& username) {
    auto db = database_.borrow();
    const auto row = db->query(
        "SELECT ipaddress FROM members WHERE username = $1 AND online = 1 AND last_seen >= " +
            kOnlineCutoff,
        username);
    return row.rows() ? row.text(0, 0) : std::string();
}

std::optional<std::string> PostgresMarketStore::passwordHash(const std::string& username) {
    auto db = database_.borrow();
    const auto row = db->query("SELECT password FROM members WHERE username = $1", username);
    if (row.rows() == 0) return std::nullopt;
    return row.text(0, 0);
}

bool PostgresMarketStore::setPassword(const std::string& username, const std::string& password) {
    auto db = database_.borrow();
    return db->query("UPDATE members SET password = $1 WHERE username = $2", hashPassword(password),
                     username)
               .affected() == 1;
}

}  // namespace tl::market
