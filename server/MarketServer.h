#pragma once

#include <memory>
#include <string>

#include "ConnectionFront.h"
#include "core/platform/NonCopyable.h"

namespace tl::market {

class MarketStore;

struct MarketServerOptions {
    std::string dataFolder;   // market.db, the reference lists and outbox/
    std::string database;     // "sqlite:PATH" or a postgresql:// URI; "" is dataFolder/market.db
    bool logRequests = true;  // one line per request on standard error
    int workerThreads = 16;   // requests served at once
    // The port of a member's listing server, which the reachability page dials.
    int reachabilityPort = 9999;
    // A reverse proxy in front of the server: requests from this address are taken to come
    // from the address in their X-Real-IP header. Empty: every requester is its own address.
    std::string trustedProxy;
    // Time and size bounds of the network front (the trusted proxy is filled in from above).
    FrontLimits front;
};

// The marketplace server: every page and service of the marketplace over HTTP.
class MarketServer : NonCopyable {
public:
    // Opens (or creates and seeds) the data folder. Throws when it cannot.
    explicit MarketServer(MarketServerOptions options);
    ~MarketServer();

    // Binds the address; port 0 takes a free one. Returns the port, or -1 when binding failed.
    int bind(const std::string& address, int port);
    // Serves until stop(); returns false when serving could not start.
    bool serve();
    // bind + serve on a thread of its own; returns the port, or -1.
    int start(const std::string& address, int port);
    // Stops serving (safe from another thread and from a signal-watching thread).
    void stop();

    MarketStore& store();
    const std::string& outboxFolder() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tl::market
