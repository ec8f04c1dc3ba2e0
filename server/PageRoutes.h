#pragma once

#include "RouteSupport.h"

namespace tl::market {

// The marketplace's own pages: the public and member home pages, messages, clubs and category
// suggestions.
class PageRoutes {
public:
    explicit PageRoutes(MarketStore& store) : store_(store) {}
    void addTo(RouteTable& routes);

private:
    void publicHome(const Request& req, Response& res);
    void registrationProbe(const Request& req, Response& res);
    void memberHome(const Request& req, Response& res);
    void messages(const Request& req, Response& res);
    void compose(const Request& req, Response& res);
    void listClubs(const Request& req, Response& res);
    void createClub(const Request& req, Response& res);
    void categorySuggestion(const Request& req, Response& res);

    MarketStore& store_;
};

}  // namespace tl::market
