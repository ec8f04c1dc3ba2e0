#include "core/service/Endpoints.h"

#include "core/service/MarketContract.h"

namespace tl::endpoints {
namespace {

namespace key = contract::key;
namespace page = contract::page;

Query memberQuery(const char* path, const MemberFields& m) {
    Query q(path);
    q.addCleaned(key::kUsername, m.username)
        .addCleaned(key::kFirstName, m.firstname)
        .addCleaned(key::kLastName, m.lastname)
        .addCleaned(key::kAddress, m.address)
        .addCleaned(key::kCity, m.city)
        .addCleaned(key::kZipCode, m.zipcode)
        .addCleaned(key::kState, m.state)
        .addCleaned(key::kConnection, m.connection)
        .addCleaned(key::kContact, m.contact)
        .addCleaned(key::kEmail, m.email)
        .addCleaned(key::kPhone, m.phone)
        .addCleaned(key::kClub1, m.club1)
        .addCleaned(key::kClub2, m.club2)
        .addCleaned(key::kCountry, m.country)
        .add(key::kPassword, m.password);  // a password is sent exactly as the member typed it
    return q;
}

// The keys both listing requests share, up to category2; "shipping" is carried twice.
Query listingQuery(const char* path, const ListingFields& l) {
    Query q(path);
    q.addCleaned(key::kTitle, l.titlebar)
        .addCleaned(key::kDescription, l.description)
        .addCleaned(key::kShipping, l.shipping)
        .addCleaned(key::kZipCode, l.zipcode)
        .addCleaned(key::kQuantity, l.quantity)
        .addCleaned(key::kShipping, l.shipping)
        .addCleaned(key::kShippingPay, l.shippingpay)
        .addCleaned(key::kUsername, l.username)
        .addCleaned(key::kCategory1, l.category1)
        .addCleaned(key::kCategory2, l.category2);
    return q;
}

}  // namespace

Query heartBeat(const std::string& user) {
    return Query(page::kHeartBeat).add(key::kHeartBeatUsername, user);
}

Query login(const std::string& user, const std::string& password) {
    return Query(page::kLogin).add(key::kUsername, user).add(key::kPassword, password);
}

Query logOff(const std::string& user) {
    return Query(page::kLogOff).add(key::kUsername, user);
}

Query forgotPassword(const std::string& user) {
    return Query(page::kForgotPassword).add(key::kUserId, user);
}

Query sendPassword(const std::string& password, const std::string& user) {
    return Query(page::kSendPassword).add(key::kPassword, password).add(key::kUsername, user);
}

Query newUser(const MemberFields& member) {
    return memberQuery(page::kNewUser, member);
}
Query updateUser(const MemberFields& member) {
    return memberQuery(page::kUpdateUser, member);
}

Query newProduct(const ListingFields& l) {
    Query q = listingQuery(page::kNewProduct, l);
    q.addCleaned(key::kStatus, l.status)
        .addCleaned(key::kPaymentTerms, l.paymentterms)
        .addCleaned(key::kPaymentMethods, l.paymentmethods)
        .addCleaned(key::kEscrow, l.escrow)
        .addCleaned(key::kPrice, l.price);
    return q;
}

Query editProduct(const ListingFields& l, const std::string& productId) {
    Query q = listingQuery(page::kEditProduct, l);
    q.add(key::kProductId, productId)
        .addCleaned(key::kPrice, l.price)
        .addCleaned(key::kStatus, l.status);
    return q;
}

Query addFileSize(const std::string& productId, long kilobytes) {
    return Query(page::kAddFileSize)
        .add(key::kProductId, productId)
        .add(key::kFileSize, std::to_string(kilobytes));
}

Query offlineItem(const std::string& productId) {
    return Query(page::kOfflineItem).add(key::kProductId, productId);
}

Query getItem(const std::string& productId) {
    return Query(page::kGetItem).add(key::kItemNumber, productId);
}

Query myListings(const std::string& user) {
    return Query(page::kMyListings).add(key::kUsername, user);
}

Query search(const std::string& criteria, const std::string& status) {
    return Query(page::kSearch).add(key::kCriteria, criteria).add(key::kStatus, status);
}

Query advancedSearch(const AdvancedCriteria& c) {
    Query q = Query(page::kAdvancedSearch);
    q.add(key::kTitle, c.titlebar)
        .add(key::kDescription, c.description)
        .add(key::kZipCode, c.zipcode)
        .add(key::kPrice, c.price)
        .add(key::kCategory, c.category)
        .add(key::kClub, c.club)
        .add(key::kStatus, c.status)
        .add(key::kPriceSwitch, c.priceswitch)
        .add(key::kUser, c.user);
    return q;
}

Query favorites(const std::string& user) {
    return Query(page::kFavorites).add(key::kUsername, user);
}

Query boughtProducts(const std::string& user) {
    return Query(page::kBoughtProducts).add(key::kUsername, user);
}

Query sell(const std::string& productId, const std::string& buyer, const std::string& sender,
           const std::string& price) {
    return Query(page::kSell)
        .add(key::kProductId, productId)
        .add(key::kUserBought, buyer)
        .add(key::kSellerId, sender)
        .add(key::kPrice, price);
}

Query isProductSold(const std::string& productId) {
    return Query(page::kIsProductSold).add(key::kProductId, productId);
}

Query addFavorite(const std::string& productId, const std::string& user) {
    return Query(page::kAddFavorite).add(key::kProductId, productId).add(key::kUsername, user);
}

Query isInFavorite(const std::string& productId, const std::string& user) {
    return Query(page::kIsInFavorite).add(key::kProductId, productId).add(key::kUsername, user);
}

Query removeFavorite(const std::string& productId, const std::string& user) {
    return Query(page::kRemoveFavorite).add(key::kProductId, productId).add(key::kUsername, user);
}

Query remove(const std::string& productId) {
    return Query(page::kRemove).add(key::kProductId, productId);
}

Query inactivate(const std::string& productId) {
    return Query(page::kInactivate).add(key::kProductId, productId);
}

Query reactivate(const std::string& productId, const std::string& status) {
    return Query(page::kReactivate).add(key::kProductId, productId).add(key::kStatus, status);
}

Query homePage(const std::string& user) {
    return Query(page::kMemberHome).add(key::kUsername, user);
}

Query messageCentre(const std::string& user) {
    return Query(page::kMessages).add(key::kUsername, user);
}

Query messageCentreLowerCase(const std::string& user) {
    return Query(page::kMessagesLowerCase).add(key::kUsername, user);
}

Query composeMessage(const std::string& sender, const std::string& recipient,
                     const std::string& productId, const std::string& title) {
    return Query(page::kCompose)
        .add(key::kSenderId, sender)
        .add(key::kRecipientId, recipient)
        .add(key::kProductId, productId)
        .add(key::kOfferTitle, title)
        .add(key::kOfferPrice, "100");
}

Query categorySuggestion(const std::string& sender) {
    return Query(page::kCategorySuggestion).add(key::kSenderId, sender);
}

Query createClub(const std::string& user) {
    return Query(page::kCreateClub).add(key::kUsername, user);
}

}  // namespace tl::endpoints
