// The members' part of the SQLite store: accounts, passwords and where members are online.
#include "PasswordHash.h"
#include "SqliteMarketStore.h"
#include "StoreRules.h"

namespace tl::market {

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

}  // namespace tl::market
