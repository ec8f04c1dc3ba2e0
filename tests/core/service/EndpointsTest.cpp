#include <gtest/gtest.h>

#include "core/service/Endpoints.h"

namespace tl {
namespace {

TEST(Endpoints, KeysGoOutInTheOrderTheServerPagesExpect) {
    using namespace endpoints;
    EXPECT_EQ(login("u", "p").pathAndQuery(), "/tradeloom/app/login.asp?username=u&password=p");
    EXPECT_EQ(logOff("").pathAndQuery(), "/tradeloom/app/logoff.asp?username=");
    EXPECT_EQ(heartBeat("u").pathAndQuery(), "/RUViviride/RUViviride.asmx/HearBeat?Username=u");
    EXPECT_EQ(sell("5", "b", "s", "0.000").pathAndQuery(),
              "/tradeloom/app/sell.asp?productid=5&userbought=b&SenderID=s&price=0.000");
    EXPECT_EQ(getItem("7").pathAndQuery(), "/RUViviride/RUViviride.asmx/GetItem?itemNumber=7");
    EXPECT_EQ(advancedSearch({"t", "d", "z", "1", "c", "k", "Both", "Less", "u"}).pathAndQuery(),
              "/tradeloom/app/advancedsearch.asp?titlebar=t&description=d&zipcode=z&price=1"
              "&category=c&club=k&status=Both&priceswitch=Less&user=u");
    EXPECT_EQ(messageCentre("u").pathAndQuery(),
              "/tradeloom/app/message/messagesNew.asp?username=u");
    EXPECT_EQ(messageCentreLowerCase("u").pathAndQuery(),
              "/tradeloom/app/message/messagesnew.asp?username=u");
}

TEST(Endpoints, ListingRequestsCarryShippingTwiceAndCleanTheirTexts) {
    endpoints::ListingFields l{"A&B", "#1", "US",      "z", "2",  "Buyer", "u",
                               "c1",  "c2", "Selling", "",  "MV", "none",  "-1"};
    EXPECT_EQ(endpoints::newProduct(l).pathAndQuery(),
              "/tradeloom/app/newproduct.asp?titlebar=AandB&description=number%201&shipping=US"
              "&zipcode=z&quantity=2&shipping=US&shippingpay=Buyer&username=u&category1=c1"
              "&category2=c2&status=Selling&paymentterms=&paymentmethods=MV&escrow=none&price=-1");
    EXPECT_EQ(endpoints::editProduct(l, "42").pathAndQuery(),
              "/tradeloom/app/editproduct.asp?titlebar=AandB&description=number%201&shipping=US"
              "&zipcode=z&quantity=2&shipping=US&shippingpay=Buyer&username=u&category1=c1"
              "&category2=c2&productid=42&price=-1&status=Selling");
}

TEST(Endpoints, MemberRequestsCleanEveryFieldButThePassword) {
    endpoints::MemberFields m{"u", "Ann & Bob", "", "#5 Road", "", "", "",   "",
                              "",  "",          "", "",        "", "", "p&w"};
    EXPECT_EQ(endpoints::newUser(m).pathAndQuery(),
              "/tradeloom/app/newuser.asp?username=u&firstname=Ann%20and%20Bob&lastname="
              "&address=number%205%20Road&city=&zipcode=&state=&connection=&contact=&email="
              "&phone=&club1=&club2=&country=&password=p%26w");
}

}  // namespace
}  // namespace tl
