#include "core/service/Endpoints.h"

namespace tl::endpoints {
namespace {

constexpr char kApp[] = "/tradeloom/app/";

Query app(const char* page) {
    return Query(std::string(kApp) + page);
}

Query memberQuery(const char* page, const MemberFields& m) {
    Query q = app(page);
    q.addCleaned("username", m.username)
        .addCleaned("firstname", m.firstname)
        .addCleaned("lastname", m.lastname)
        .addCleaned("address", m.address)
        .addCleaned("city", m.city)
        .addCleaned("zipcode", m.zipcode)
        .addCleaned("state", m.state)
        .addCleaned("connection", m.connection)
        .addCleaned("contact", m.contact)
        .addCleaned("email", m.email)
        .addCleaned("phone", m.phone)
        .addCleaned("club1", m.club1)
        .addCleaned("club2", m.club2)
        .addCleaned("country", m.country)
        .add("password", m.password);  // a password is sent exactly as the member typed it
    return q;
}

// The keys both listing requests share, up to category2; "shipping" is carried twice.
Query listingQuery(const char* page, const ListingFields& l) {
    Query q = app(page);
    q.addCleaned("titlebar", l.titlebar)
        .addCleaned("description", l.description)
        .addCleaned("shipping", l.shipping)
        .addCleaned("zipcode", l.zipcode)
        .addCleaned("quantity", l.quantity)
        .addCleaned("shipping", l.shipping)
        .addCleaned("shippingpay", l.shippingpay)
        .addCleaned("username", l.username)
        .addCleaned("category1", l.category1)
        .addCleaned("category2", l.category2);
    return q;
}

}  // namespace

Query heartBeat(const std::string& user) {
    return Query("/RUViviride/RUViviride.asmx/HearBeat").add("Username", user);
}

Query login(const std::string& user, const std::string& password) {
    return app("login.asp").add("username", user).add("password", password);
}

Query logOff(const std::string& user) {
    return app("logoff.asp").add("username", user);
}

Query forgotPassword(const std::string& user) {
    return app("ForgotPass.asp").add("UserID", user);
}

Query sendPassword(const std::string& password, const std::string& user) {
    return app("sendpassword.asp").add("password", password).add("username", user);
}

Query newUser(const MemberFields& member) {
    return memberQuery("newuser.asp", member);
}
Query updateUser(const MemberFields& member) {
    return memberQuery("updateuser.asp", member);
}

Query newProduct(const ListingFields& l) {
    Query q = listingQuery("newproduct.asp", l);
    q.addCleaned("status", l.status)
        .addCleaned("paymentterms", l.paymentterms)
        .addCleaned("paymentmethods", l.paymentmethods)
        .addCleaned("escrow", l.escrow)
        .addCleaned("price", l.price);
    return q;
}

Query editProduct(const ListingFields& l, const std::string& productId) {
    Query q = listingQuery("editproduct.asp", l);
    q.add("productid", productId).addCleaned("price", l.price).addCleaned("status", l.status);
    return q;
}

Query addFileSize(const std::string& productId, long kilobytes) {
    return app("addfilesize.asp")
        .add("productid", productId)
        .add("filesize", std::to_string(kilobytes));
}

Query offlineItem(const std::string& productId) {
    return app("offline.asp").add("productid", productId);
}

Query getItem(const std::string& productId) {
    return Query("/RUViviride/RUViviride.asmx/GetItem").add("itemNumber", productId);
}

Query myListings(const std::string& user) {
    return app("mylisting.asp").add("username", user);
}

Query search(const std::string& criteria, const std::string& status) {
    return app("search.asp").add("criteria", criteria).add("status", status);
}

Query advancedSearch(const AdvancedCriteria& c) {
    Query q = app("advancedsearch.asp");
    q.add("titlebar", c.titlebar)
        .add("description", c.description)
        .add("zipcode", c.zipcode)
        .add("price", c.price)
        .add("category", c.category)
        .add("club", c.club)
        .add("status", c.status)
        .add("priceswitch", c.priceswitch)
        .add("user", c.user);
    return q;
}

Query favorites(const std::string& user) {
    return app("favorites.asp").add("username", user);
}

Query boughtProducts(const std::string& user) {
    return app("boughtproducts.asp").add("username", user);
}

Query sell(const std::string& productId, const std::string& buyer, const std::string& sender,
           const std::string& price) {
    return app("sell.asp")
        .add("productid", productId)
        .add("userbought", buyer)
        .add("SenderID", sender)
        .add("price", price);
}

Query isProductSold(const std::string& productId) {
    return app("isproductsold.asp").add("productid", productId);
}

Query addFavorite(const std::string& productId, const std::string& user) {
    return app("addfavorite.asp").add("productid", productId).add("username", user);
}

Query isInFavorite(const std::string& productId, const std::string& user) {
    return app("isinfavorite.asp").add("productid", productId).add("username", user);
}

Query removeFavorite(const std::string& productId, const std::string& user) {
    return app("removefavs.asp").add("productid", productId).add("username", user);
}

Query remove(const std::string& productId) {
    return app("remove.asp").add("productid", productId);
}

Query inactivate(const std::string& productId) {
    return app("inactivate.asp").add("productid", productId);
}

Query reactivate(const std::string& productId, const std::string& status) {
    return app("reactivate.asp").add("productid", productId).add("status", status);
}

Query homePage(const std::string& user) {
    return app("home.asp").add("username", user);
}

Query messageCentre(const std::string& user) {
    return app("message/messagesNew.asp").add("username", user);
}

Query messageCentreLowerCase(const std::string& user) {
    return app("message/messagesnew.asp").add("username", user);
}

Query composeMessage(const std::string& sender, const std::string& recipient,
                     const std::string& productId, const std::string& title) {
    return app("message/message.asp")
        .add("senderid", sender)
        .add("recipientid", recipient)
        .add("productid", productId)
        .add("title", title)
        .add("Price", "100");
}

Query categorySuggestion(const std::string& sender) {
    return app("catSuggestions.asp").add("senderid", sender);
}

Query createClub(const std::string& user) {
    return Query("/RUViviride/createclub.aspx").add("username", user);
}

}  // namespace tl::endpoints
