#pragma once

#include <string>
#include <vector>

#include "MarketStore.h"

// The HTML pages of the marketplace: small pages with one shared style. Every member text is
// escaped where it is placed.
namespace tl::market::pages {

std::string publicHome(const std::vector<ListingRecord>& newest);
// What the member home page shows only to the member's own address.
struct OwnHomeData {
    std::vector<ListingRecord> favourites;
    int unreadMessages = 0;
};
// The home page; without mine (a request from elsewhere) it says where to open it instead.
std::string memberHome(const Member& member, const std::vector<ListingRecord>& own,
                       const OwnHomeData* mine, const std::vector<ListingRecord>& newest);
std::string unknownMember(const std::string& username);
std::string registrationProbe();

std::string messages(const std::string& username, const std::vector<Message>& messages);
// In place of the message list, for a request from anywhere but the member's online address.
std::string messagesElsewhere();

// The compose form, filled with the draft; note is shown above it when not empty.
std::string compose(const Message& draft, const std::string& note);
std::string messageSent(const Message& message);

std::string categorySuggestion(const std::string& sender, const std::string& note);
std::string categorySuggestionStored(const std::string& sender, const std::string& category);

std::string createClub(const std::string& username, const std::string& note);
std::string clubCreated(const std::string& username, const std::string& club);

std::string notFound(const std::string& path);
// A short page for a refused request (status 400, 401, 413, 414, 500).
std::string failure(int status, const std::string& text);

}  // namespace tl::market::pages
