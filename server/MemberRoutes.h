#pragma once

#include "RouteSupport.h"

namespace tl::market {

class Outbox;

// The pages of members and passwords: registration, login, heartbeat and log-off, the profile
// and the password mails.
class MemberRoutes {
public:
    MemberRoutes(MarketStore& store, Outbox& outbox) : store_(store), outbox_(outbox) {}
    void addTo(RouteTable& routes);

private:
    void login(const Request& req, Response& res);
    void heartbeat(const Request& req, Response& res);
    void logOff(const Request& req, Response& res);
    void newUser(const Request& req, Response& res);
    void updateUser(const Request& req, Response& res);
    void forgotPassword(const Request& req, Response& res);
    void sendPassword(const Request& req, Response& res);

    MarketStore& store_;
    Outbox& outbox_;
};

}  // namespace tl::market
