#include "MarketServer.h"

#include <arpa/inet.h>
#include <httplib.h>

#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "ConnectionStream.h"
#include "FileRoutes.h"
#include "ListRoutes.h"
#include "ListingRoutes.h"
#include "LongRequestLine.h"
#include "MarketPages.h"
#include "MarketStore.h"
#include "MemberRoutes.h"
#include "Outbox.h"
#include "PageRoutes.h"
#include "ReachabilityCheck.h"
#include "ReferenceLists.h"
#include "RequestValues.h"
#include "RouteSupport.h"
#include "core/platform/Files.h"

namespace tl::market {
namespace {

constexpr std::size_t kMaxBodyBytes = 64 * 1024;
// A request's body must have arrived this long after its head; its reply must have been taken
// this long after it began. A request reads at most kMaxRequestBytes in all.
constexpr std::chrono::seconds kBodyTimeout{10};
constexpr std::chrono::seconds kWriteTimeout{10};
constexpr std::size_t kMaxRequestBytes = 1024 * 1024;
// A listing file's upload may take its body this long, and a kept file's download its reply;
// an upload reads at most kMaxUploadBytes in all.
constexpr std::chrono::seconds kFileTransferTimeout{60};
constexpr std::size_t kMaxUploadBytes = kMaxRequestBytes + contract::kMostKeptFileBytes;
// A connection answers this many requests, then closes; an idle one closes after the front's
// idle time-out, which the replies announce.
constexpr std::size_t kKeepAliveRequests = 1000;
// The reachability page dials back for at most this long, and this many at once.
constexpr std::chrono::seconds kReachabilityTimeout{3};
constexpr std::size_t kReachabilityChecksAtOnce = 4;

// The database file in the data folder, which is created when missing.
std::string databasePath(const std::string& folder) {
    createDirectories(folder);
    return folder + "/market.db";
}

std::string refusalText(int status) {
    switch (status) {
        case 400:
            return "The request was malformed.";
        case 413:
            return "The request body is too large.";
        case 414:
            return "The request line is too long.";
        default:
            return "The request was refused.";
    }
}

std::string basicAuthorization(const std::string& user, const std::string& password) {
    return httplib::make_basic_authentication_header(user, password).second;
}

bool isNumericAddress(const std::string& text) {
    unsigned char bytes[sizeof(in6_addr)];
    return inet_pton(AF_INET, text.c_str(), bytes) == 1 ||
           inet_pton(AF_INET6, text.c_str(), bytes) == 1;
}

// Whether the request whose head starts the buffer asks for the path by that method.
bool requestFor(std::string_view head, std::string_view method, std::string_view path) {
    const std::size_t size = method.size() + 1 + path.size();
    return head.size() > size && head.substr(0, method.size()) == method &&
           head[method.size()] == ' ' && head.substr(method.size() + 1, path.size()) == path &&
           (head[size] == '?' || head[size] == ' ');
}

// Marks, for the dispatcher, a request whose long query was moved into a form body.
constexpr char kMovedQueryHeader[] = "X-Tradeloom-Moved-Query";

// The HTTP request reader and reply writer, driven one request at a time by the network front
// instead of by a listening loop of its own.
class RequestEngine : public httplib::Server {
public:
    using httplib::Server::process_request;
};

}  // namespace

bool fromMember(MarketStore& store, const Request& req, const std::string& username) {
    const std::string address = store.onlineAddress(username);
    return !address.empty() && address == req.remote_addr;
}

struct MarketServer::Impl {
    MarketServerOptions options;
    std::unique_ptr<MarketStore> storage;
    MarketStore& store;
    ReferenceLists lists;
    Outbox outbox;
    ReachabilityCheck reachability;
    MemberRoutes memberRoutes{store, outbox};
    ListingRoutes listingRoutes{store, reachability};
    ListRoutes listRoutes{store, lists};
    PageRoutes pageRoutes{store};
    FileRoutes fileRoutes{store};
    // Uploads of kept files have an engine of their own, whose body limit is a file's.
    RequestEngine http, uploads;
    ConnectionFront front;
    RouteTable routes;
    std::thread thread;
    std::mutex logMutex;
    const std::string serviceAuthorization =
        basicAuthorization(contract::kServiceUser, contract::kServicePassword);
    const std::string zeroAuthorization =
        basicAuthorization(contract::kZeroUser, contract::kZeroPassword);

    explicit Impl(MarketServerOptions o)
        : options(std::move(o)),
          storage(openMarketStore(options.database.empty()
                                      ? "sqlite:" + databasePath(options.dataFolder)
                                      : options.database)),
          store(*storage),
          lists(options.dataFolder),
          outbox(options.dataFolder + "/outbox"),
          reachability(options.reachabilityPort, kReachabilityTimeout, kReachabilityChecksAtOnce),
          front(frontLimits(options), options.workerThreads,
                [this](ClientConnection& c) { return serveRequest(c); }) {
        if (!options.trustedProxy.empty() && !isNumericAddress(options.trustedProxy))
            throw std::runtime_error("the trusted proxy is no numeric address: " +
                                     options.trustedProxy);
        memberRoutes.addTo(routes);
        listingRoutes.addTo(routes);
        listRoutes.addTo(routes);
        pageRoutes.addTo(routes);
        fileRoutes.addTo(routes);
        configure(http, kMaxBodyBytes);
        configure(uploads, contract::kMostKeptFileBytes);
        auto entry = [this](const Request& req, Response& res) { dispatch(req, res); };
        http.Get(".*", entry);
        http.Post(".*", entry);
        uploads.Post(".*",
                     [this](const Request& req, Response& res, const httplib::ContentReader& body) {
                         if (admitted(req, res)) fileRoutes.putListingFile(req, res, body);
                     });
    }

    void configure(RequestEngine& engine, std::size_t maxBodyBytes) {
        engine.set_keep_alive_max_count(kKeepAliveRequests);
        engine.set_keep_alive_timeout(
            std::chrono::ceil<std::chrono::seconds>(options.front.idleTimeout).count());
        engine.set_payload_max_length(maxBodyBytes);
        engine.set_exception_handler([](const Request&, Response& res, std::exception_ptr) {
            html(res, pages::failure(500, "The server could not complete this request."), 500);
        });
        // Refusals made by the HTTP layer itself (request line too long, body too large ...).
        engine.set_error_handler([](const Request&, Response& res) {
            if (res.body.empty())
                html(res, pages::failure(res.status, refusalText(res.status)), res.status);
        });
        if (options.logRequests)
            engine.set_logger([this](const Request& req, const Response& res) { log(req, res); });
    }

    static FrontLimits frontLimits(const MarketServerOptions& options) {
        FrontLimits limits = options.front;
        limits.exemptAddress = options.trustedProxy;
        return limits;
    }

    // Serves the one request whose head the front has read; true to keep the connection.
    bool serveRequest(ClientConnection& c) {
        const bool upload = c.headComplete && requestFor(c.buffer, "POST", page::kPutListingFile);
        const bool download = c.headComplete && requestFor(c.buffer, "GET", page::kGetListingFile);
        const auto readDeadline =
            c.headComplete ? FrontClock::now() + (upload ? kFileTransferTimeout : kBodyTimeout)
                           : c.headDeadline;
        const bool movedQuery = c.headComplete && moveLongQueryToBody(c.buffer);
        ConnectionStream stream(c, readDeadline, download ? kFileTransferTimeout : kWriteTimeout,
                                upload ? kMaxUploadBytes : kMaxRequestBytes);
        // An upload's connection closes after the reply: a refused one leaves its body unread.
        const bool last = ++c.served >= kKeepAliveRequests || upload;
        bool closed = false;
        RequestEngine& engine = upload ? uploads : http;
        const bool answered =
            engine.process_request(stream, last, closed, [this, movedQuery](Request& req) {
                takeRequester(req);
                req.headers.erase(kMovedQueryHeader);
                if (movedQuery) req.set_header(kMovedQueryHeader, "1");
            });
        if (upload) stream.endAndDrain();
        return answered && !closed && !last;
    }

    // Behind the trusted proxy the requester is the address the proxy names.
    void takeRequester(Request& req) const {
        if (options.trustedProxy.empty() || req.remote_addr != options.trustedProxy) return;
        const std::string forwarded = req.get_header_value("X-Real-IP");
        if (isNumericAddress(forwarded)) req.remote_addr = forwarded;
    }

    // The log leaves the query out: it carries passwords.
    void log(const Request& req, const Response& res) {
        std::lock_guard lock(logMutex);
        std::fprintf(stderr, "%s %s %s %d %zu\n", req.remote_addr.c_str(), req.method.c_str(),
                     req.path.c_str(), res.status, res.body.size());
    }

    // Requests that carry credentials must carry the client's service pair (or the zero pair
    // for the bought-items list); requests without them are served.
    bool credentialsAccepted(const Request& req) const {
        if (!req.has_header("Authorization")) return true;
        const std::string given = req.get_header_value("Authorization");
        if (given == serviceAuthorization) return true;
        return req.path == page::kBoughtProducts && given == zeroAuthorization;
    }

    // A long GET arrives with its query moved into the body (see LongRequestLine.h): it is
    // served as the GET it was, its values read as the library reads a query.
    void dispatch(const Request& req, Response& res) {
        if (!req.has_header(kMovedQueryHeader)) return serve(req, res);
        Request asSent = req;
        asSent.method = "GET";
        asSent.body.clear();
        httplib::detail::parse_query_text(req.body, asSent.params);
        serve(asSent, res);
    }

    // Refuses (and answers) a request with credentials other than the client's, or with values
    // no page takes.
    bool admitted(const Request& req, Response& res) const {
        if (!credentialsAccepted(req)) {
            res.set_header("WWW-Authenticate", "Basic realm=\"Tradeloom\"");
            html(res, pages::failure(401, "These credentials are not accepted."), 401);
            return false;
        }
        if (const auto refused = refusedValues(req.params)) {
            html(res, pages::failure(400, *refused), 400);
            return false;
        }
        return true;
    }

    void serve(const Request& req, Response& res) {
        if (!admitted(req, res)) return;
        if (const auto route = routes.find(req.path); route != routes.end()) {
            route->second(req, res);
            return;
        }
        if (!listRoutes.listFile(req, res)) html(res, pages::notFound(req.path), 404);
    }
};

MarketServer::MarketServer(MarketServerOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

MarketServer::~MarketServer() {
    stop();
    if (impl_->thread.joinable()) impl_->thread.join();
}

int MarketServer::bind(const std::string& address, int port) {
    return impl_->front.bind(address, port);
}

bool MarketServer::serve() {
    return impl_->front.run();
}

int MarketServer::start(const std::string& address, int port) {
    const int bound = bind(address, port);
    if (bound < 0) return -1;
    // Connections made before the thread runs wait in the listening socket's queue.
    impl_->thread = std::thread([this] { serve(); });
    return bound;
}

void MarketServer::stop() {
    impl_->front.stop();
}

MarketStore& MarketServer::store() {
    return impl_->store;
}

const std::string& MarketServer::outboxFolder() const {
    return impl_->outbox.folder();
}

}  // namespace tl::market
