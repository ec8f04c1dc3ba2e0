#include "MarketServer.h"

#include <arpa/inet.h>
#include <httplib.h>

#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <unordered_map>

#include "ConnectionStream.h"
#include "MarketPages.h"
#include "MarketReplies.h"
#include "MarketStore.h"
#include "Outbox.h"
#include "PasswordHash.h"
#include "ProductStyleSheet.h"
#include "ReachabilityCheck.h"
#include "ReferenceLists.h"
#include "RequestValues.h"
#include "Text.h"
#include "core/platform/Files.h"

namespace tl::market {
namespace {

using httplib::Request;
using httplib::Response;

constexpr std::size_t kMaxBodyBytes = 64 * 1024;
// A request's body must have arrived this long after its head; its reply must have been taken
// this long after it began. A request reads at most kMaxRequestBytes in all.
constexpr std::chrono::seconds kBodyTimeout{10};
constexpr std::chrono::seconds kWriteTimeout{10};
constexpr std::size_t kMaxRequestBytes = 1024 * 1024;
// A connection answers this many requests, then closes; an idle one closes after the front's
// idle time-out, which the replies announce.
constexpr std::size_t kKeepAliveRequests = 1000;
// The reachability page dials back for at most this long, and this many at once.
constexpr std::chrono::seconds kReachabilityTimeout{3};
constexpr std::size_t kReachabilityChecksAtOnce = 4;
constexpr char kServiceUser[] = "zeyan";
constexpr char kServicePassword[] = "vexil&qo";

constexpr char kPlain[] = "text/plain; charset=utf-8";
constexpr char kXml[] = "text/xml; charset=utf-8";
constexpr char kHtml[] = "text/html; charset=utf-8";

// The database file in the data folder, which is created when missing.
std::string databasePath(const std::string& folder) {
    createDirectories(folder);
    return folder + "/market.db";
}

std::string param(const Request& req, const char* key) {
    return req.get_param_value(key);
}

// A product id as the client sends it (decimal text); 0, which no listing has, otherwise.
std::int64_t productId(const Request& req, const char* key = "productid") {
    return productIdValue(param(req, key));
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

void plain(Response& res, const std::string& text) {
    res.set_content(text, kPlain);
}

void html(Response& res, const std::string& page, int status = 200) {
    res.status = status;
    res.set_content(page, kHtml);
}

std::string basicAuthorization(const std::string& user, const std::string& password) {
    return httplib::make_basic_authentication_header(user, password).second;
}

// The host the client knows the server by: the Host header, else the address it came in on.
std::string requestHost(const Request& req) {
    const std::string host = req.get_header_value("Host");
    if (!host.empty()) return host;
    return req.local_addr + ":" + std::to_string(req.local_port);
}

bool isNumericAddress(const std::string& text) {
    unsigned char bytes[sizeof(in6_addr)];
    return inet_pton(AF_INET, text.c_str(), bytes) == 1 ||
           inet_pton(AF_INET6, text.c_str(), bytes) == 1;
}

// The HTTP request reader and reply writer, driven one request at a time by the network front
// instead of by a listening loop of its own.
class RequestEngine : public httplib::Server {
public:
    using httplib::Server::process_request;
};

Member memberFromRequest(const Request& req) {
    return Member{param(req, "username"), param(req, "firstname"),  param(req, "lastname"),
                  param(req, "address"),  param(req, "city"),       param(req, "zipcode"),
                  param(req, "state"),    param(req, "connection"), param(req, "contact"),
                  param(req, "email"),    param(req, "phone"),      param(req, "club1"),
                  param(req, "club2"),    param(req, "country")};
}

// Copies request values into text fields: the value of each key into the field beside it.
// Both lists take their length from the call, so a field without its key does not compile.
template <std::size_t N>
void readParams(const Request& req, std::string* const (&fields)[N], const char* const (&keys)[N]) {
    for (std::size_t i = 0; i < N; ++i) *fields[i] = param(req, keys[i]);
}

Listing listingFromRequest(const Request& req) {
    Listing l;
    // "shipping" is sent twice with the same value; either serves.
    readParams(
        req,
        {&l.titlebar, &l.description, &l.shipping, &l.zipcode, &l.quantity, &l.shippingpay,
         &l.owner, &l.category1, &l.category2, &l.kind, &l.paymentterms, &l.paymentmethods,
         &l.escrow, &l.price},
        {"titlebar", "description", "shipping", "zipcode", "quantity", "shippingpay", "username",
         "category1", "category2", "status", "paymentterms", "paymentmethods", "escrow", "price"});
    return l;
}

const std::vector<RecordField> kSearchFields = {
    RecordField::productid, RecordField::titlebar,   RecordField::username,
    RecordField::ipaddress, RecordField::connection, RecordField::filesize,
    RecordField::email,     RecordField::price,      RecordField::status};
const std::vector<RecordField> kFavouriteFields = {
    RecordField::productid,  RecordField::titlebar, RecordField::username, RecordField::ipaddress,
    RecordField::connection, RecordField::status,   RecordField::price,    RecordField::filesize};
const std::vector<RecordField> kBoughtFields = {
    RecordField::productid,  RecordField::titlebar, RecordField::username, RecordField::ipaddress,
    RecordField::connection, RecordField::filesize, RecordField::price};
const std::vector<RecordField> kMyListingFields = {RecordField::productid, RecordField::titlebar,
                                                   RecordField::status, RecordField::filesize,
                                                   RecordField::price};

}  // namespace

struct MarketServer::Impl {
    using Handler = void (Impl::*)(const Request&, Response&);

    MarketServerOptions options;
    std::unique_ptr<MarketStore> storage;
    MarketStore& store;
    ReferenceLists lists;
    Outbox outbox;
    ReachabilityCheck reachability;
    RequestEngine http;
    ConnectionFront front;
    std::unordered_map<std::string, Handler> routes;
    std::thread thread;
    std::mutex logMutex;
    const std::string serviceAuthorization = basicAuthorization(kServiceUser, kServicePassword);
    const std::string zeroAuthorization = basicAuthorization("0", "0");

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
        addRoutes();
        http.set_keep_alive_max_count(kKeepAliveRequests);
        http.set_keep_alive_timeout(
            std::chrono::ceil<std::chrono::seconds>(options.front.idleTimeout).count());
        http.set_payload_max_length(kMaxBodyBytes);
        auto entry = [this](const Request& req, Response& res) { dispatch(req, res); };
        http.Get(".*", entry);
        http.Post(".*", entry);
        http.set_exception_handler([](const Request&, Response& res, std::exception_ptr) {
            html(res, pages::failure(500, "The server could not complete this request."), 500);
        });
        // Refusals made by the HTTP layer itself (request line too long, body too large ...).
        http.set_error_handler([](const Request&, Response& res) {
            if (res.body.empty())
                html(res, pages::failure(res.status, refusalText(res.status)), res.status);
        });
        if (options.logRequests)
            http.set_logger([this](const Request& req, const Response& res) { log(req, res); });
    }

    static FrontLimits frontLimits(const MarketServerOptions& options) {
        FrontLimits limits = options.front;
        limits.exemptAddress = options.trustedProxy;
        return limits;
    }

    // Serves the one request whose head the front has read; true to keep the connection.
    bool serveRequest(ClientConnection& c) {
        const auto readDeadline =
            c.headComplete ? FrontClock::now() + kBodyTimeout : c.headDeadline;
        ConnectionStream stream(c, readDeadline, kWriteTimeout, kMaxRequestBytes);
        const bool last = ++c.served >= kKeepAliveRequests;
        bool closed = false;
        const bool answered = http.process_request(stream, last, closed,
                                                   [this](Request& req) { takeRequester(req); });
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

    void addRoutes() {
        routes = {
            {"/", &Impl::publicHome},
            {"/tradeloom", &Impl::publicHome},
            {"/tradeloom/", &Impl::publicHome},
            {"//tradeLoom//index.html", &Impl::registrationProbe},
            {"/tradeloom/currentwordlist.xml", &Impl::currentWordList},
            {"/tradeloom/currentcategorylist.xml", &Impl::currentCategoryList},
            {"/tradeloom/product.xsl", &Impl::styleSheet},
            {"/tradeloom/app/login.asp", &Impl::login},
            {"/RUViviride/RUViviride.asmx/HearBeat", &Impl::heartbeat},
            {"/tradeloom/app/logoff.asp", &Impl::logOff},
            {"/tradeloom/app/newuser.asp", &Impl::newUser},
            {"/tradeloom/app/updateuser.asp", &Impl::updateUser},
            {"/tradeloom/app/ForgotPass.asp", &Impl::forgotPassword},
            {"/tradeloom/app/sendpassword.asp", &Impl::sendPassword},
            {"/tradeloom/app/newproduct.asp", &Impl::newProduct},
            {"/tradeloom/app/editproduct.asp", &Impl::editProduct},
            {"/tradeloom/app/addfilesize.asp", &Impl::addFileSize},
            {"/tradeloom/app/offline.asp", &Impl::offlineItem},
            {"/RUViviride/RUViviride.asmx/GetItem", &Impl::getItem},
            {"/tradeloom/app/mylisting.asp", &Impl::myListings},
            {"/tradeloom/app/search.asp", &Impl::search},
            {"/tradeloom/app/advancedsearch.asp", &Impl::advancedSearch},
            {"/tradeloom/app/favorites.asp", &Impl::favourites},
            {"/tradeloom/app/boughtproducts.asp", &Impl::bought},
            {"/tradeloom/app/addfavorite.asp", &Impl::addFavourite},
            {"/tradeloom/app/isinfavorite.asp", &Impl::isInFavourite},
            {"/tradeloom/app/removefavs.asp", &Impl::removeFavourite},
            {"/tradeloom/app/remove.asp", &Impl::remove},
            {"/tradeloom/app/inactivate.asp", &Impl::inactivate},
            {"/tradeloom/app/reactivate.asp", &Impl::reactivate},
            {"/tradeloom/app/isproductsold.asp", &Impl::isProductSold},
            {"/tradeloom/app/sell.asp", &Impl::sell},
            {"/RUViviride/clubs.asmx/ListClubs", &Impl::listClubs},
            {"/tradeloom/app/home.asp", &Impl::memberHome},
            {"/tradeloom/app/message/messagesNew.asp", &Impl::messages},
            {"/tradeloom/app/message/messagesnew.asp", &Impl::messages},
            {"/tradeloom/app/message/message.asp", &Impl::compose},
            {"/tradeloom/app/catSuggestions.asp", &Impl::categorySuggestion},
            {"/RUViviride/createclub.aspx", &Impl::createClub},
            {"/tradeloom/app/reachable.asp", &Impl::reachable},
        };
    }

    // Requests that carry credentials must carry the client's service pair (or 0/0 for the
    // bought-items list); requests without them are served.
    bool credentialsAccepted(const Request& req) const {
        if (!req.has_header("Authorization")) return true;
        const std::string given = req.get_header_value("Authorization");
        if (given == serviceAuthorization) return true;
        return req.path == "/tradeloom/app/boughtproducts.asp" && given == zeroAuthorization;
    }

    void dispatch(const Request& req, Response& res) {
        if (!credentialsAccepted(req)) {
            res.set_header("WWW-Authenticate", "Basic realm=\"Tradeloom\"");
            html(res, pages::failure(401, "These credentials are not accepted."), 401);
            return;
        }
        if (const auto refused = refusedValues(req.params)) {
            html(res, pages::failure(400, *refused), 400);
            return;
        }
        if (const auto route = routes.find(req.path); route != routes.end()) {
            (this->*(route->second))(req, res);
            return;
        }
        const std::string folder = "/tradeloom/";
        if (req.method == "GET" && req.path.compare(0, folder.size(), folder) == 0) {
            if (const auto content = lists.file(req.path.substr(folder.size()))) {
                res.set_content(*content, kXml);
                return;
            }
        }
        html(res, pages::notFound(req.path), 404);
    }

    // --- Pages and reference lists ---

    void publicHome(const Request&, Response& res) {
        html(res, pages::publicHome(store.newestListings(10)));
    }

    void registrationProbe(const Request&, Response& res) { html(res, pages::registrationProbe()); }

    void currentWordList(const Request&, Response& res) { plain(res, lists.currentWordListName()); }

    void currentCategoryList(const Request&, Response& res) {
        plain(res, ReferenceLists::kCategoryListName);
    }

    void styleSheet(const Request&, Response& res) {
        res.set_content(std::string(productStyleSheet()), "text/xsl; charset=utf-8");
    }

    // --- Members ---

    void login(const Request& req, Response& res) {
        switch (store.login(param(req, "username"), param(req, "password"), req.remote_addr)) {
            case LoginResult::Match:
                return plain(res, "0");
            case LoginResult::NoSuchMember:
                return plain(res, "-1");
            case LoginResult::WrongPassword:
                return plain(res, "-2");
        }
    }

    void heartbeat(const Request& req, Response& res) {
        const bool known = store.heartbeat(param(req, "Username"), req.remote_addr);
        res.set_content(std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<boolean>") +
                            (known ? "true" : "false") + "</boolean>",
                        kXml);
    }

    void logOff(const Request& req, Response& res) {
        store.logOff(param(req, "username"));
        plain(res, "0");
    }

    void newUser(const Request& req, Response& res) {
        plain(res, store.createMember(memberFromRequest(req), param(req, "password")) ? "0" : "-1");
    }

    // The request carries the new password, not the current one: it is taken only from where
    // the member is online.
    void updateUser(const Request& req, Response& res) {
        const Member member = memberFromRequest(req);
        const bool updated =
            fromMember(req, member.username) && store.updateMember(member, param(req, "password"));
        plain(res, updated ? "0" : "-1");
    }

    void forgotPassword(const Request& req, Response& res) {
        const auto member = store.member(param(req, "UserID"));
        // Without an address to mail it to, a new password would only lock the member out.
        if (!member || member->email.empty()) return plain(res, "-1");
        const std::string password = temporaryPassword();
        if (!outbox.send(member->email, "Your Tradeloom password",
                         "Hello " + member->username +
                             ",\n\nyour new temporary Tradeloom password is: " + password +
                             "\n\nPlease log in with it and change it in your profile.\n"))
            return plain(res, "-1");
        store.setPassword(member->username, password);
        plain(res, "1");
    }

    // Mails a member's password to the member, only when it is the member's password: nobody
    // can have the marketplace mail arbitrary text to a member.
    void sendPassword(const Request& req, Response& res) {
        const std::string username = param(req, "username");
        const std::string password = param(req, "password");
        const auto member = store.member(username);
        if (member && store.passwordMatches(username, password) &&
            outbox.send(member->email, "Welcome to Tradeloom",
                        "Hello " + member->username +
                            ",\n\nwelcome to Tradeloom. Your user name is " + member->username +
                            " and your password is: " + password + "\n"))
            return plain(res, "0");
        plain(res, "-1");
    }

    // --- Listings ---

    // Requests that change a member's account or listings carry no password. They are taken
    // only from the address at which the member is online.
    bool fromMember(const Request& req, const std::string& username) {
        const std::string address = store.onlineAddress(username);
        return !address.empty() && address == req.remote_addr;
    }

    // The listing a change request names, when it comes from its owner's address. An unknown
    // listing answers as before (nothing to change); another member's listing is refused.
    enum class Owned { Unknown, Refused, Yes };
    Owned ownedListing(const Request& req, std::optional<Listing>& listing) {
        listing = store.listing(productId(req));
        if (!listing) return Owned::Unknown;
        return fromMember(req, listing->owner) ? Owned::Yes : Owned::Refused;
    }

    void newProduct(const Request& req, Response& res) {
        const auto id = store.addListing(listingFromRequest(req));
        plain(res, id ? std::to_string(*id) : "-1");
    }

    void editProduct(const Request& req, Response& res) {
        std::optional<Listing> stored;
        if (ownedListing(req, stored) != Owned::Yes) return plain(res, "-1");
        Listing l = listingFromRequest(req);
        l.productid = stored->productid;
        plain(res, store.editListing(l) ? "0" : "-1");
    }

    void addFileSize(const Request& req, Response& res) {
        const auto kilobytes = wholeNumber(param(req, "filesize"));
        std::optional<Listing> listing;
        if (!kilobytes || ownedListing(req, listing) == Owned::Refused) return plain(res, "-1");
        store.setFileSize(productId(req), *kilobytes);
        plain(res, "0");
    }

    void offlineItem(const Request& req, Response& res) {
        const auto listing = store.listing(productId(req));
        const auto owner = listing ? store.member(listing->owner) : std::nullopt;
        if (!listing || !owner)
            return res.set_content("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<item/>", kXml);
        res.set_content(offlineItemDocument(*listing, *owner), kXml);
    }

    void getItem(const Request& req, Response& res) {
        const auto listing = store.listing(productId(req, "itemNumber"));
        res.set_content(wrappedReply(requestHost(req), listing ? itemPayload(*listing) : ""), kXml);
    }

    void remove(const Request& req, Response& res) {
        std::optional<Listing> listing;
        const Owned owned = ownedListing(req, listing);
        if (owned == Owned::Yes) store.removeListing(listing->productid);
        plain(res, owned == Owned::Refused ? "-1" : "0");
    }

    void inactivate(const Request& req, Response& res) {
        std::optional<Listing> listing;
        const Owned owned = ownedListing(req, listing);
        if (owned == Owned::Yes) store.inactivate(listing->productid);
        plain(res, owned == Owned::Refused ? "-1" : "0");
    }

    void reactivate(const Request& req, Response& res) {
        std::optional<Listing> listing;
        const Owned owned = ownedListing(req, listing);
        if (owned == Owned::Yes) store.reactivate(listing->productid, param(req, "status"));
        plain(res, owned == Owned::Refused ? "-1" : "0");
    }

    void isProductSold(const Request& req, Response& res) {
        const auto listing = store.listing(productId(req));
        plain(res, listing && listing->state == "ACTIVE" ? "0" : "-1");
    }

    void sell(const Request& req, Response& res) {
        std::optional<Listing> listing;
        if (ownedListing(req, listing) != Owned::Yes) return plain(res, "-1");
        const std::int64_t id = listing->productid;
        const std::string buyer = param(req, "userbought");
        if (!store.sell(id, buyer, param(req, "price"))) return plain(res, "-1");
        Message note;
        note.sender = param(req, "SenderID");
        note.recipient = buyer;
        note.productid = std::to_string(id);
        note.title = "Sold: " + listing->titlebar;
        note.price = param(req, "price");
        note.body = "Item #" + note.productid + " (" + listing->titlebar + ") was sold to you.";
        store.addMessage(note);
        plain(res, "0");
    }

    // --- Lists ---

    void results(Response& res, const std::vector<ListingRecord>& records,
                 const std::vector<RecordField>& fields) {
        res.set_content(resultsDocument(records, fields), kXml);
    }

    void myListings(const Request& req, Response& res) {
        results(res, store.memberListings(param(req, "username")), kMyListingFields);
    }

    void search(const Request& req, Response& res) {
        results(res, store.search(param(req, "criteria"), kindFilter(param(req, "status"))),
                kSearchFields);
    }

    void advancedSearch(const Request& req, Response& res) {
        AdvancedCriteria c;
        readParams(req, {&c.titlebar, &c.description, &c.zipcode, &c.category, &c.club, &c.user},
                   {"titlebar", "description", "zipcode", "category", "club", "user"});
        c.kinds = kindFilter(param(req, "status"));
        const std::string price = param(req, "price");
        if (!price.empty()) {
            c.price = parsePrice(price);
            // A price that is no number matches nothing rather than everything.
            if (!c.price) return results(res, {}, kSearchFields);
        }
        c.priceGreater = param(req, "priceswitch") != "Less";
        results(res, store.advancedSearch(c), kSearchFields);
    }

    void favourites(const Request& req, Response& res) {
        results(res, store.favourites(param(req, "username")), kFavouriteFields);
    }

    void bought(const Request& req, Response& res) {
        results(res, store.bought(param(req, "username")), kBoughtFields);
    }

    // --- Favourites ---

    void addFavourite(const Request& req, Response& res) {
        plain(res, store.addFavourite(param(req, "username"), productId(req)) ? "1" : "-1");
    }

    void isInFavourite(const Request& req, Response& res) {
        plain(res, store.isFavourite(param(req, "username"), productId(req)) ? "-1" : "0");
    }

    void removeFavourite(const Request& req, Response& res) {
        store.removeFavourite(param(req, "username"), productId(req));
        plain(res, "0");
    }

    // --- Reachability ---

    // "1" when the requester's listing server accepts a connection from here, else "0".
    void reachable(const Request& req, Response& res) {
        switch (reachability.check(req.remote_addr)) {
            case ReachabilityCheck::Answer::Reachable:
                return plain(res, "1");
            case ReachabilityCheck::Answer::Unreachable:
                return plain(res, "0");
            case ReachabilityCheck::Answer::Busy:
                res.set_header("Retry-After", "5");
                return html(res,
                            pages::failure(503,
                                           "Your address is being checked already, or too many "
                                           "addresses are. Please try again shortly."),
                            503);
        }
    }

    // --- Clubs, messages, suggestions ---

    void listClubs(const Request& req, Response& res) {
        res.set_content(wrappedReply(requestHost(req), clubsPayload(store.clubs())), kXml);
    }

    void memberHome(const Request& req, Response& res) {
        const std::string username = param(req, "username");
        const auto member = store.member(username);
        if (!member) return html(res, pages::unknownMember(username));
        html(res,
             pages::memberHome(*member, store.memberListings(username), store.favourites(username),
                               store.unreadMessages(username), store.newestListings(10)));
    }

    void messages(const Request& req, Response& res) {
        const std::string username = param(req, "username");
        if (!store.member(username)) return html(res, pages::unknownMember(username));
        const auto list = store.messages(username);
        store.markMessagesRead(username);
        html(res, pages::messages(username, list));
    }

    void compose(const Request& req, Response& res) {
        Message m;
        readParams(req, {&m.sender, &m.recipient, &m.productid, &m.title, &m.price, &m.body},
                   {"senderid", "recipientid", "productid", "title", "Price", "body"});
        if (req.method != "POST") return html(res, pages::compose(m, ""));
        if (!store.member(m.sender))
            return html(res, pages::compose(m, "Please give your own user name in From."));
        if (!store.member(m.recipient))
            return html(res,
                        pages::compose(m, "There is no member named \"" + m.recipient + "\"."));
        if (m.body.empty() && m.title.empty())
            return html(res, pages::compose(m, "Please write a title or a message."));
        store.addMessage(m);
        html(res, pages::messageSent(m));
    }

    void categorySuggestion(const Request& req, Response& res) {
        const std::string sender = param(req, "senderid");
        if (req.method != "POST") return html(res, pages::categorySuggestion(sender, ""));
        const std::string category = param(req, "category");
        if (storedText(category).empty())
            return html(res, pages::categorySuggestion(sender, "Please name the category."));
        store.addCategorySuggestion(sender, category, param(req, "parent"), param(req, "note"));
        html(res, pages::categorySuggestionStored(sender, storedText(category)));
    }

    void createClub(const Request& req, Response& res) {
        const std::string username = param(req, "username");
        if (req.method != "POST") return html(res, pages::createClub(username, ""));
        const std::string club = storedText(param(req, "clubname"));
        if (club.empty() || characterCount(club) > 50)
            return html(
                res, pages::createClub(username, "Please name the club (at most 50 characters)."));
        if (!store.addClub(club))
            return html(res,
                        pages::createClub(username, "The club \"" + club + "\" exists already."));
        html(res, pages::clubCreated(username, club));
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
