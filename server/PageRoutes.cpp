#include "PageRoutes.h"

#include <optional>

#include "MarketPages.h"
#include "MarketReplies.h"
#include "MarketStore.h"
#include "Text.h"

namespace tl::market {
namespace {

// The newest listings the home pages show.
constexpr int kNewestShown = 10;
constexpr std::size_t kMaxClubNameCharacters = 50;

}  // namespace

void PageRoutes::addTo(RouteTable& routes) {
    addRoute(routes, page::kHome, this, &PageRoutes::publicHome);
    addRoute(routes, "/tradeloom", this, &PageRoutes::publicHome);
    addRoute(routes, page::kReferenceListFolder, this, &PageRoutes::publicHome);
    addRoute(routes, page::kRegistrationProbe, this, &PageRoutes::registrationProbe);
    addRoute(routes, page::kMemberHome, this, &PageRoutes::memberHome);
    addRoute(routes, page::kMessages, this, &PageRoutes::messages);
    addRoute(routes, page::kMessagesLowerCase, this, &PageRoutes::messages);
    addRoute(routes, page::kCompose, this, &PageRoutes::compose);
    addRoute(routes, page::kClubList, this, &PageRoutes::listClubs);
    addRoute(routes, page::kCreateClub, this, &PageRoutes::createClub);
    addRoute(routes, page::kCategorySuggestion, this, &PageRoutes::categorySuggestion);
}

void PageRoutes::publicHome(const Request&, Response& res) {
    html(res, pages::publicHome(store_.newestListings(kNewestShown)));
}

void PageRoutes::registrationProbe(const Request&, Response& res) {
    html(res, pages::registrationProbe());
}

// Favourites and the unread count are the member's own: shown only at the member's address.
void PageRoutes::memberHome(const Request& req, Response& res) {
    const std::string username = param(req, key::kUsername);
    const auto member = store_.member(username);
    if (!member) return html(res, pages::unknownMember(username));
    std::optional<pages::OwnHomeData> mine;
    if (fromMember(store_, req, username))
        mine = pages::OwnHomeData{store_.favourites(username), store_.unreadMessages(username)};
    html(res, pages::memberHome(*member, store_.memberListings(username), mine ? &*mine : nullptr,
                                store_.newestListings(kNewestShown)));
}

// A member's messages are read (and so marked read) only from where the member is online.
void PageRoutes::messages(const Request& req, Response& res) {
    const std::string username = param(req, key::kUsername);
    if (!fromMember(store_, req, username)) return html(res, pages::messagesElsewhere());
    const auto list = store_.messages(username);
    store_.markMessagesRead(username);
    html(res, pages::messages(username, list));
}

// A message is stored only in the name of the member online at the requesting address.
void PageRoutes::compose(const Request& req, Response& res) {
    Message m;
    readParams(req, {&m.sender, &m.recipient, &m.productid, &m.title, &m.price, &m.body},
               {key::kSenderId, key::kRecipientId, key::kProductId, key::kOfferTitle,
                key::kOfferPrice, key::kMessageBody});
    if (req.method != "POST") return html(res, pages::compose(m, ""));
    if (!fromMember(store_, req, m.sender))
        return html(res, pages::compose(m,
                                        "Messages are sent in your own name only: give your "
                                        "user name in From, and send from the Tradeloom "
                                        "program while you are logged in."));
    if (!store_.member(m.recipient))
        return html(res, pages::compose(m, "There is no member named \"" + m.recipient + "\"."));
    if (m.body.empty() && m.title.empty())
        return html(res, pages::compose(m, "Please write a title or a message."));
    store_.addMessage(m);
    html(res, pages::messageSent(m));
}

void PageRoutes::listClubs(const Request& req, Response& res) {
    xml(res, wrappedReply(requestHost(req), clubsPayload(store_.clubs())));
}

void PageRoutes::createClub(const Request& req, Response& res) {
    const std::string username = param(req, key::kUsername);
    if (req.method != "POST") return html(res, pages::createClub(username, ""));
    const std::string club = storedText(param(req, key::kClubName));
    if (club.empty() || characterCount(club) > kMaxClubNameCharacters)
        return html(res,
                    pages::createClub(username, "Please name the club (at most 50 characters)."));
    if (!store_.addClub(club))
        return html(res, pages::createClub(username, "The club \"" + club + "\" exists already."));
    html(res, pages::clubCreated(username, club));
}

void PageRoutes::categorySuggestion(const Request& req, Response& res) {
    const std::string sender = param(req, key::kSenderId);
    if (req.method != "POST") return html(res, pages::categorySuggestion(sender, ""));
    const std::string category = param(req, key::kCategory);
    if (storedText(category).empty())
        return html(res, pages::categorySuggestion(sender, "Please name the category."));
    store_.addCategorySuggestion(sender, category, param(req, key::kParentCategory),
                                 param(req, key::kNote));
    html(res, pages::categorySuggestionStored(sender, storedText(category)));
}

}  // namespace tl::market
