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
        db->prepare(
              "UPDATE members SET password = ?, password_changed = ?, temporary_password = '', "
              "temporary_until = 0 WHERE username = ?")
            .bind(hashPassword(password), unixNow(), member.username)
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

void SqliteMarketStore::setOnline(const std::string& username, const std::string& address,
                                  bool takeTemporary) {
    auto db = database_.borrow();
    db->prepare(
          "UPDATE members SET online = 1, ipaddress = ?1, last_seen = ?2, "
          "password = CASE WHEN ?3 THEN temporary_password ELSE password END, "
          "password_changed = CASE WHEN ?3 THEN ?2 ELSE password_changed END, "
          "temporary_password = '', temporary_until = 0 WHERE username = ?4")
        .bind(address, unixNow(), static_cast<std::int64_t>(takeTemporary), username)
        .run();
}

bool SqliteMarketStore::heartbeat(const std::string& username, const std::string& address) {
    auto db = database_.borrow();
    db->prepare(
          "UPDATE members SET last_seen = ? WHERE username = ? AND online = 1 AND ipaddress = ?")
        .bind(unixNow(), username, address)
        .run();
    auto known = db->prepare("SELECT 1 FROM members WHERE username = ?");
    known.bind(username);
    return known.step();
}

void SqliteMarketStore::logOff(const std::string& username, const std::string& address) {
    auto db = database_.borrow();
    db->prepare("UPDATE members SET online = 0 WHERE username = ? AND ipaddress = ?")
        .bind(username, address)
        .run();
}

std::string SqliteMarketStore::onlineAddress(const std::string& username) {
    auto db = database_.borrow();
    auto query = db->prepare(
        "SELECT ipaddress FROM members WHERE username = ? AND online = 1 AND last_seen >= ?");
    query.bind(username, onlineCutoff());
    return query.step() ? query.text(0) : std::string();
}

std::optional<MarketStore::StoredPasswords> SqliteMarketStore::storedPasswords(
    const std::string& username) {
    auto db = database_.borrow();
    auto query = db->prepare(
        "SELECT password, CASE WHEN temporary_until > ? THEN temporary_password ELSE '' END "
        "FROM members WHERE username = ?");
    query.bind(unixNow(), username);
    if (!query.step()) return std::nullopt;
    return StoredPasswords{query.text(0), query.text(1)};
}

std::int64_t SqliteMarketStore::passwordChanged(const std::string& username) {
    auto db = database_.borrow();
    auto query = db->prepare("SELECT password_changed FROM members WHERE username = ?");
    query.bind(username);
    return query.step() ? query.integer(0) : 0;
}

MarketStore::FailureCounts SqliteMarketStore::recentFailures(const std::string& username,
                                                             const std::string& address) {
    auto db = database_.borrow();
    auto query = db->prepare(
        "SELECT count(*), coalesce(sum(username = ?), 0) FROM login_failures "
        "WHERE address = ? AND at > ?");
    query.bind(username, address, unixNow() - kGuessWindowSeconds);
    query.step();
    return FailureCounts{static_cast<int>(query.integer(1)), static_cast<int>(query.integer(0))};
}

void SqliteMarketStore::addFailure(const std::string& username, const std::string& address) {
    const std::int64_t now = unixNow();
    auto db = database_.borrow();
    db->transaction([&] {
        db->prepare("DELETE FROM login_failures WHERE at <= ?")
            .bind(now - kGuessWindowSeconds)
            .run();
        db->prepare("INSERT INTO login_failures(username, address, at) VALUES (?, ?, ?)")
            .bind(username, address, now)
            .run();
    });
}

void SqliteMarketStore::clearFailures(const std::string& username, const std::string& address) {
    auto db = database_.borrow();
    db->prepare("DELETE FROM login_failures WHERE username = ? AND address = ?")
        .bind(username, address)
        .run();
}

int SqliteMarketStore::recentTemporaryRequests(const std::string& username) {
    auto db = database_.borrow();
    auto query = db->prepare(
        "SELECT count(*) FROM temporary_password_requests WHERE username = ? AND at > ?");
    query.bind(username, unixNow() - kTemporarySeconds);
    query.step();
    return static_cast<int>(query.integer(0));
}

void SqliteMarketStore::storeTemporaryPassword(const std::string& username,
                                               const std::string& hash) {
    const std::int64_t now = unixNow();
    auto db = database_.borrow();
    db->transaction([&] {
        db->prepare("DELETE FROM temporary_password_requests WHERE at <= ?")
            .bind(now - kTemporarySeconds)
            .run();
        db->prepare("INSERT INTO temporary_password_requests(username, at) VALUES (?, ?)")
            .bind(username, now)
            .run();
        db->prepare(
              "UPDATE members SET temporary_password = ?, temporary_until = ? WHERE username = ?")
            .bind(hash, now + kTemporarySeconds, username)
            .run();
    });
}

}  // namespace tl::market
