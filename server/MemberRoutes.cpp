#include "MemberRoutes.h"

#include "MarketStore.h"
#include "Outbox.h"
#include "PasswordHash.h"
#include "Text.h"

namespace tl::market {
namespace {

Member memberFromRequest(const Request& req) {
    Member m;
    readParams(req,
               {&m.username, &m.firstname, &m.lastname, &m.address, &m.city, &m.zipcode, &m.state,
                &m.connection, &m.contact, &m.email, &m.phone, &m.club1, &m.club2, &m.country},
               {key::kUsername, key::kFirstName, key::kLastName, key::kAddress, key::kCity,
                key::kZipCode, key::kState, key::kConnection, key::kContact, key::kEmail,
                key::kPhone, key::kClub1, key::kClub2, key::kCountry});
    return m;
}

}  // namespace

void MemberRoutes::addTo(RouteTable& routes) {
    addRoute(routes, page::kLogin, this, &MemberRoutes::login);
    addRoute(routes, page::kHeartBeat, this, &MemberRoutes::heartbeat);
    addRoute(routes, page::kLogOff, this, &MemberRoutes::logOff);
    addRoute(routes, page::kNewUser, this, &MemberRoutes::newUser);
    addRoute(routes, page::kUpdateUser, this, &MemberRoutes::updateUser);
    addRoute(routes, page::kForgotPassword, this, &MemberRoutes::forgotPassword);
    addRoute(routes, page::kSendPassword, this, &MemberRoutes::sendPassword);
}

void MemberRoutes::login(const Request& req, Response& res) {
    switch (store_.login(param(req, key::kUsername), param(req, key::kPassword), req.remote_addr)) {
        case LoginResult::Match:
            return plain(res, "0");
        case LoginResult::NoSuchMember:
            return plain(res, "-1");
        case LoginResult::WrongPassword:
            return plain(res, "-2");
    }
}

void MemberRoutes::heartbeat(const Request& req, Response& res) {
    const bool known = store_.heartbeat(param(req, key::kHeartBeatUsername), req.remote_addr);
    xml(res, std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<boolean>") +
                 (known ? "true" : "false") + "</boolean>");
}

// Taken only from where the member is online, so nobody can end another member's session.
void MemberRoutes::logOff(const Request& req, Response& res) {
    store_.logOff(param(req, key::kUsername), req.remote_addr);
    plain(res, "0");
}

void MemberRoutes::newUser(const Request& req, Response& res) {
    plain(res,
          store_.createMember(memberFromRequest(req), param(req, key::kPassword)) ? "0" : "-1");
}

// The request carries the new password, not the current one: it is taken only from where the
// member is online.
void MemberRoutes::updateUser(const Request& req, Response& res) {
    const Member member = memberFromRequest(req);
    const bool updated = fromMember(store_, req, member.username) &&
                         store_.updateMember(member, param(req, key::kPassword));
    plain(res, updated ? "0" : "-1");
}

// The temporary password is added beside the member's own, so a request made by anyone else
// locks nobody out. Requests past the hourly limit are answered as done and change nothing.
void MemberRoutes::forgotPassword(const Request& req, Response& res) {
    const auto member = store_.member(param(req, key::kUserId));
    // Without an address to mail it to, a temporary password would be of no use.
    if (!member || member->email.empty()) return plain(res, "-1");
    const std::string password = temporaryPassword();
    if (!store_.addTemporaryPassword(member->username, password)) return plain(res, "1");
    const bool sent = outbox_.send(
        member->email, "Your Tradeloom password",
        "Hello " + member->username + ",\n\nyour temporary Tradeloom password is: " + password +
            "\n\nIt works for " + std::to_string(MarketStore::kTemporarySeconds / 60) +
            " minutes beside your own password. Logging in with it makes it your password; "
            "logging in with your own password cancels it. If you did not ask for it, just "
            "log in as usual.\n");
    plain(res, sent ? "1" : "-1");
}

// Mails the member a welcome after registering, or a notice after a password change, only when
// the request carries the member's password: nobody can have the marketplace mail a member at
// will. The mail never carries the password itself.
void MemberRoutes::sendPassword(const Request& req, Response& res) {
    const std::string username = param(req, key::kUsername);
    const auto member = store_.member(username);
    if (!member || !store_.passwordConfirmed(username, param(req, key::kPassword), req.remote_addr))
        return plain(res, "-1");
    const std::int64_t changed = store_.passwordChanged(username);
    const bool sent =
        changed == 0
            ? outbox_.send(member->email, "Welcome to Tradeloom",
                           "Hello " + member->username +
                               ",\n\nwelcome to Tradeloom. Your user name is " + member->username +
                               "; your password is the one you chose when you registered.\n")
            : outbox_.send(member->email, "Your Tradeloom password was changed",
                           "Hello " + member->username +
                               ",\n\nthe password of your Tradeloom account was changed on " +
                               utcTimeText(changed) +
                               ".\n\nIf you did not change it, please ask for a temporary "
                               "password at the login and set a new one.\n");
    plain(res, sent ? "0" : "-1");
}

}  // namespace tl::market
