#pragma once

#include <string>

#include "core/service/MarketContract.h"
#include "core/service/Query.h"

// Every address of the marketplace server that the program requests or shows, with its keys in
// the order the server's pages expect them. Values are percent-encoded; the listing and user
// requests also pass their free texts through the query-text cleaner.
namespace tl::endpoints {

// Reference lists and the listing style sheet.
using contract::page::kClubList;
using contract::page::kCurrentCategoryList;
using contract::page::kCurrentWordList;
using contract::page::kReferenceListFolder;
using contract::page::kStyleSheet;

// Reachability probes (request style B), and whether the server can open a connection back to
// this computer's listing port: "1" or "0".
inline constexpr const char* kProbe = contract::page::kHome;
using contract::page::kReachable;
using contract::page::kRegistrationProbe;

Query heartBeat(const std::string& user);
Query login(const std::string& user, const std::string& password);
Query logOff(const std::string& user);
Query forgotPassword(const std::string& user);
Query sendPassword(const std::string& password, const std::string& user);

// The member fields of the registration and profile requests, in the order they are sent.
struct MemberFields {
    std::string username, firstname, lastname, address, city, zipcode, state, connection, contact,
        email, phone, club1, club2, country, password;
};
Query newUser(const MemberFields& member);
Query updateUser(const MemberFields& member);

// The listing fields of the publish and edit requests.
struct ListingFields {
    std::string titlebar, description, shipping, zipcode, quantity, shippingpay, username,
        category1, category2, status, paymentterms, paymentmethods, escrow, price;
};
Query newProduct(const ListingFields& listing);
Query editProduct(const ListingFields& listing, const std::string& productId);
Query addFileSize(const std::string& productId, long kilobytes);

Query offlineItem(const std::string& productId);
Query getItem(const std::string& productId);
Query myListings(const std::string& user);
Query search(const std::string& criteria, const std::string& status);

struct AdvancedCriteria {
    std::string titlebar, description, zipcode, price, category, club, status, priceswitch, user;
};
Query advancedSearch(const AdvancedCriteria& criteria);
Query favorites(const std::string& user);
Query boughtProducts(const std::string& user);

Query sell(const std::string& productId, const std::string& buyer, const std::string& sender,
           const std::string& price);
Query isProductSold(const std::string& productId);
Query addFavorite(const std::string& productId, const std::string& user);
Query isInFavorite(const std::string& productId, const std::string& user);
Query removeFavorite(const std::string& productId, const std::string& user);
Query remove(const std::string& productId);
Query inactivate(const std::string& productId);
Query reactivate(const std::string& productId, const std::string& status);

// Pages shown in the browser panes.
Query homePage(const std::string& user);
Query messageCentre(const std::string& user);           // "messagesNew.asp"
Query messageCentreLowerCase(const std::string& user);  // "messagesnew.asp"
// The compose form of an offer; it always carries the price key with the value 100.
Query composeMessage(const std::string& sender, const std::string& recipient,
                     const std::string& productId, const std::string& title);
Query categorySuggestion(const std::string& sender);
Query createClub(const std::string& user);

}  // namespace tl::endpoints
