#include "MemberRoutes.h"

#include "MarketStore.h"
#include "Outbox.h"
#include "PasswordHash.h"

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

void MemberRoutes::logOff(const Request& req, Response& res) {
    store_.logOff(param(req, key::kUsername));
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

void MemberRoutes::forgotPassword(const Request& req, Response& res) {
    const auto member = store_.member(param(req, key::kUserId));
    // Without an address to mail it to, a new password would only lock the member out.
    if (!member || member->email.empty()) return plain(res, "-1");
    const std::string password = temporaryPassword();
    if (!outbox_.send(member->email, "Your Tradeloom password",
                      "Hello " + member->username +
                          ",\n\nyour new temporary Tradeloom password is: " + password +
                          "\n\nPlease log in with it and change it in your profile.\n"))
        return plain(res, "-1");
    store_.setPassword(member->username, password);
    plain(res, "1");
}

// Mails a member's password to the member, only when it is the member's password: nobody can
// have the marketplace mail arbitrary text to a member.
void MemberRoutes::sendPassword(const Request& req, Response& res) {
    const std::string username = param(req, key::kUsername);
    const std::string password = param(req, key::kPassword);
    const auto member = store_.member(username);
    if (member && store_.passwordMatches(username, password) &&
        outbox_.send(member->email, "Welcome to Tradeloom",
                     "Hello " + member->username + ",\n\nwelcome to Tradeloom. Your user name is " +
                         member->username + " and your password is: " + password + "\n"))
        return plain(res, "0");
    plain(res, "-1");
}

}  // namespace tl::market
