#include "MarketPages.h"

#include "Text.h"
#include "core/service/MarketContract.h"
#include "core/service/Query.h"

namespace tl::market::pages {
namespace {

namespace page = contract::page;
namespace key = contract::key;

constexpr char kStyle[] = R"css(
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 14px; color: #1f2a33;
       background: #f4f6f8; margin: 0; }
header { background: #24506e; color: #fff; padding: 10px 18px; }
header h1 { font-size: 20px; margin: 0; }
main { padding: 12px 18px; max-width: 900px; }
h2 { font-size: 16px; color: #24506e; border-bottom: 1px solid #c9d3db; padding-bottom: 3px; }
table { border-collapse: collapse; width: 100%; background: #fff; margin-bottom: 12px; }
th, td { text-align: left; padding: 4px 8px; border-bottom: 1px solid #e1e6ea; }
th { background: #e8eef3; }
.note { background: #fff8d8; border: 1px solid #e8d98a; padding: 6px 10px; }
.empty { color: #6b7a86; font-style: italic; }
form label { display: block; margin-top: 8px; font-weight: bold; }
form input[type=text], form textarea { width: 100%; max-width: 600px; box-sizing: border-box; }
form textarea { height: 140px; }
form button { margin-top: 10px; }
.unread { font-weight: bold; }
)css";

constexpr char kOpenFromProgram[] =
    "Please open this page from the Tradeloom program while you are logged in";

std::string e(const std::string& text) {
    return escapeMarkup(text);
}

std::string layout(const std::string& title, const std::string& body) {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + e(title) +
           "</title><style>" + kStyle + "</style></head><body><header><h1>" + e(title) +
           "</h1></header><main>" + body + "</main></body></html>\n";
}

std::string priceText(const std::string& price) {
    if (price == "-1") return "Make Offer";
    if (price == "0") return "Free";
    return price;
}

std::string kindText(const std::string& status) {
    if (status == contract::kSelling) return "For Sale";
    if (status == contract::kBuying) return "Wanted";
    return status;
}

std::string listingTable(const std::vector<ListingRecord>& records, const std::string& none) {
    if (records.empty()) return "<p class=\"empty\">" + e(none) + "</p>";
    std::string out =
        "<table><tr><th>Item #</th><th>Title</th><th>Price</th><th>Kind</th>"
        "<th>Member</th></tr>";
    for (const ListingRecord& r : records)
        out += "<tr><td>" + std::to_string(r.productid) + "</td><td>" + e(r.titlebar) +
               "</td><td>" + e(priceText(r.price)) + "</td><td>" + e(kindText(r.status)) +
               "</td><td>" + e(r.username) + "</td></tr>";
    return out + "</table>";
}

std::string composeAddress(const std::string& sender, const std::string& recipient,
                           const std::string& productid, const std::string& title) {
    return Query(page::kCompose)
        .add(key::kSenderId, sender)
        .add(key::kRecipientId, recipient)
        .add(key::kProductId, productid)
        .add(key::kOfferTitle, title)
        .pathAndQuery();
}

std::string field(const char* label, const char* name, const std::string& value) {
    return std::string("<label for=\"") + name + "\">" + label +
           "</label><input type=\"text\" id=\"" + name + "\" name=\"" + name + "\" value=\"" +
           e(value) + "\">";
}

std::string hidden(const char* name, const std::string& value) {
    return std::string("<input type=\"hidden\" name=\"") + name + "\" value=\"" + e(value) + "\">";
}

std::string noteBlock(const std::string& note) {
    return note.empty() ? std::string() : "<p class=\"note\">" + e(note) + "</p>";
}

// The start of a page that posts a form: the note (when there is one), an introduction and the
// opening form tag with its hidden field.
std::string postFormStart(const std::string& note, const std::string& intro, const char* action,
                          const char* hiddenName, const std::string& hiddenValue) {
    return noteBlock(note) + "<p>" + intro + "</p><form method=\"post\" action=\"" + action +
           "\">" + hidden(hiddenName, hiddenValue);
}

}  // namespace

std::string publicHome(const std::vector<ListingRecord>& newest) {
    return layout("Tradeloom Marketplace",
                  "<p>Welcome to the Tradeloom marketplace: members list what they sell and what "
                  "they want, and trade straight from their own machines.</p>"
                  "<h2>Newest listings</h2>" +
                      listingTable(newest, "No listings yet."));
}

std::string memberHome(const Member& member, const std::vector<ListingRecord>& own,
                       const OwnHomeData* mine, const std::vector<ListingRecord>& newest) {
    const std::string name = member.firstname.empty() ? member.username : member.firstname;
    std::string body = "<p>Hello " + e(name) + ", welcome back.</p>";
    if (mine) {
        const std::string messagesLink =
            Query(page::kMessages).add(key::kUsername, member.username).pathAndQuery();
        body += "<p><a href=\"" + e(messagesLink) + "\">" +
                (mine->unreadMessages == 1
                     ? std::string("1 unread message")
                     : std::to_string(mine->unreadMessages) + " unread messages") +
                "</a></p>";
    } else {
        body += std::string("<p class=\"note\">") + kOpenFromProgram +
                " to see your favourites and messages.</p>";
    }
    body += "<h2>Your listings</h2>" + listingTable(own, "You have no listings.");
    if (mine)
        body +=
            "<h2>Your favourites</h2>" + listingTable(mine->favourites, "You have no favourites.");
    body += "<h2>Newest listings</h2>" + listingTable(newest, "No listings yet.");
    return layout("Tradeloom: " + member.username, body);
}

std::string messagesElsewhere() {
    return layout("Messages", std::string("<p class=\"note\">") + kOpenFromProgram +
                                  " to read your messages.</p>");
}

std::string unknownMember(const std::string& username) {
    return layout("Tradeloom", "<p class=\"note\">There is no member named &quot;" + e(username) +
                                   "&quot;.</p>");
}

std::string registrationProbe() {
    return layout("Tradeloom", "<p>The Tradeloom marketplace is up and taking registrations.</p>");
}

std::string messages(const std::string& username, const std::vector<Message>& list) {
    std::string body;
    if (list.empty()) {
        body = "<p class=\"empty\">You have no messages.</p>";
    } else {
        body =
            "<table><tr><th>From</th><th>Item #</th><th>Title</th><th>Message</th>"
            "<th>Sent</th><th></th></tr>";
        for (const Message& m : list) {
            const std::string reply =
                composeAddress(username, m.sender, m.productid,
                               m.title.rfind("Re: ", 0) == 0 ? m.title : "Re: " + m.title);
            body +=
                std::string("<tr") + (m.read ? "" : " class=\"unread\"") + "><td>" + e(m.sender) +
                "</td><td>" + e(m.productid) + "</td><td>" + e(m.title) + "</td><td>" + e(m.body) +
                (m.price.empty() ? "" : " (price " + e(m.price) + ")") + "</td><td>" +
                utcTimeText(m.sent) + "</td><td><a href=\"" + e(reply) + "\">Reply</a></td></tr>";
        }
        body += "</table>";
    }
    return layout("Messages for " + username, body);
}

std::string compose(const Message& draft, const std::string& note) {
    std::string body = noteBlock(note);
    body += std::string("<form method=\"post\" action=\"") + page::kCompose + "\">";
    body += field("From", key::kSenderId, draft.sender);
    body += field("To", key::kRecipientId, draft.recipient);
    body += field("Item #", key::kProductId, draft.productid);
    body += field("Title", key::kOfferTitle, draft.title);
    body += field("Price", key::kOfferPrice, draft.price);
    body += "<label for=\"body\">Message</label><textarea id=\"body\" name=\"body\">" +
            e(draft.body) + "</textarea>";
    body += "<button type=\"submit\">Send</button></form>";
    return layout("New message", body);
}

std::string messageSent(const Message& message) {
    return layout("Message sent", "<p class=\"note\">Your message to " + e(message.recipient) +
                                      " about &quot;" + e(message.title) + "&quot; was sent.</p>");
}

std::string categorySuggestion(const std::string& sender, const std::string& note) {
    std::string body = postFormStart(note, "Suggest a category that the marketplace should offer.",
                                     page::kCategorySuggestion, key::kSenderId, sender);
    body += field("Category", key::kCategory, "");
    body += field("Under (optional)", key::kParentCategory, "");
    body += "<label for=\"note\">Why</label><textarea id=\"note\" name=\"note\"></textarea>";
    body += "<button type=\"submit\">Suggest</button></form>";
    return layout("Suggest a category", body);
}

std::string categorySuggestionStored(const std::string& sender, const std::string& category) {
    return layout("Suggest a category", "<p class=\"note\">Thank you, " + e(sender) +
                                            ". Your suggestion &quot;" + e(category) +
                                            "&quot; was recorded.</p>");
}

std::string createClub(const std::string& username, const std::string& note) {
    std::string body =
        postFormStart(note, "Create a club that members can join from their profile.",
                      page::kCreateClub, key::kUsername, username);
    body += field("Club name", key::kClubName, "");
    body += "<button type=\"submit\">Create club</button></form>";
    return layout("Create a club", body);
}

std::string clubCreated(const std::string& username, const std::string& club) {
    return layout("Create a club", "<p class=\"note\">Thank you, " + e(username) +
                                       ". The club &quot;" + e(club) + "&quot; was created.</p>");
}

std::string notFound(const std::string& path) {
    return layout("Page not found",
                  "<p>There is no page at &quot;" + e(path) + "&quot; on this marketplace.</p>");
}

std::string failure(int status, const std::string& text) {
    return layout("Error " + std::to_string(status), "<p>" + e(text) + "</p>");
}

}  // namespace tl::market::pages
