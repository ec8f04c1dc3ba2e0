#pragma once

// What the client and the marketplace server agree on: the page addresses, the query keys, the
// service credentials, the words a listing's kind and state are spelt with, and the names of
// the reference-list files. Both sides build from this one header, so neither can drift.
namespace tl::contract {

// Page addresses.
namespace page {
inline constexpr char kHome[] = "/";
inline constexpr char kRegistrationProbe[] = "//tradeLoom//index.html";
inline constexpr char kReferenceListFolder[] = "/tradeloom/";
inline constexpr char kCurrentWordList[] = "/tradeloom/currentwordlist.xml";
inline constexpr char kCurrentCategoryList[] = "/tradeloom/currentcategorylist.xml";
inline constexpr char kStyleSheet[] = "/tradeloom/product.xsl";
inline constexpr char kHeartBeat[] = "/RUViviride/RUViviride.asmx/HearBeat";
inline constexpr char kGetItem[] = "/RUViviride/RUViviride.asmx/GetItem";
inline constexpr char kClubList[] = "/RUViviride/clubs.asmx/ListClubs";
inline constexpr char kCreateClub[] = "/RUViviride/createclub.aspx";
inline constexpr char kLogin[] = "/tradeloom/app/login.asp";
inline constexpr char kLogOff[] = "/tradeloom/app/logoff.asp";
inline constexpr char kNewUser[] = "/tradeloom/app/newuser.asp";
inline constexpr char kUpdateUser[] = "/tradeloom/app/updateuser.asp";
inline constexpr char kForgotPassword[] = "/tradeloom/app/ForgotPass.asp";
inline constexpr char kSendPassword[] = "/tradeloom/app/sendpassword.asp";
inline constexpr char kNewProduct[] = "/tradeloom/app/newproduct.asp";
inline constexpr char kEditProduct[] = "/tradeloom/app/editproduct.asp";
inline constexpr char kAddFileSize[] = "/tradeloom/app/addfilesize.asp";
inline constexpr char kOfflineItem[] = "/tradeloom/app/offline.asp";
inline constexpr char kMyListings[] = "/tradeloom/app/mylisting.asp";
inline constexpr char kSearch[] = "/tradeloom/app/search.asp";
inline constexpr char kAdvancedSearch[] = "/tradeloom/app/advancedsearch.asp";
inline constexpr char kFavorites[] = "/tradeloom/app/favorites.asp";
inline constexpr char kBoughtProducts[] = "/tradeloom/app/boughtproducts.asp";
inline constexpr char kAddFavorite[] = "/tradeloom/app/addfavorite.asp";
inline constexpr char kIsInFavorite[] = "/tradeloom/app/isinfavorite.asp";
inline constexpr char kRemoveFavorite[] = "/tradeloom/app/removefavs.asp";
inline constexpr char kRemove[] = "/tradeloom/app/remove.asp";
inline constexpr char kInactivate[] = "/tradeloom/app/inactivate.asp";
inline constexpr char kReactivate[] = "/tradeloom/app/reactivate.asp";
inline constexpr char kIsProductSold[] = "/tradeloom/app/isproductsold.asp";
inline constexpr char kSell[] = "/tradeloom/app/sell.asp";
inline constexpr char kMemberHome[] = "/tradeloom/app/home.asp";
inline constexpr char kMessages[] = "/tradeloom/app/message/messagesNew.asp";
inline constexpr char kMessagesLowerCase[] = "/tradeloom/app/message/messagesnew.asp";
inline constexpr char kCompose[] = "/tradeloom/app/message/message.asp";
inline constexpr char kCategorySuggestion[] = "/tradeloom/app/catSuggestions.asp";
// Whether the server can open a connection back to the requester's listing port: "1" or "0".
inline constexpr char kReachable[] = "/tradeloom/app/reachable.asp";
// The files of a listing that the marketplace keeps: one file stored a request (POST), the set
// of a listing's files stated once they are all sent, their names, sizes and digests, and one
// file's bytes.
inline constexpr char kPutListingFile[] = "/tradeloom/app/putlistingfile.asp";
inline constexpr char kKeepListingFiles[] = "/tradeloom/app/keeplistingfiles.asp";
inline constexpr char kListingFiles[] = "/tradeloom/app/listingfiles.asp";
inline constexpr char kGetListingFile[] = "/tradeloom/app/getlistingfile.asp";
}  // namespace page

// Query keys, spelt as the pages read them.
namespace key {
inline constexpr char kUsername[] = "username";
inline constexpr char kHeartBeatUsername[] = "Username";
inline constexpr char kUserId[] = "UserID";
inline constexpr char kPassword[] = "password";
inline constexpr char kFirstName[] = "firstname";
inline constexpr char kLastName[] = "lastname";
inline constexpr char kAddress[] = "address";
inline constexpr char kCity[] = "city";
inline constexpr char kZipCode[] = "zipcode";
inline constexpr char kState[] = "state";
inline constexpr char kConnection[] = "connection";
inline constexpr char kContact[] = "contact";
inline constexpr char kEmail[] = "email";
inline constexpr char kPhone[] = "phone";
inline constexpr char kClub1[] = "club1";
inline constexpr char kClub2[] = "club2";
inline constexpr char kCountry[] = "country";
inline constexpr char kTitle[] = "titlebar";
inline constexpr char kDescription[] = "description";
inline constexpr char kShipping[] = "shipping";
inline constexpr char kQuantity[] = "quantity";
inline constexpr char kShippingPay[] = "shippingpay";
inline constexpr char kCategory1[] = "category1";
inline constexpr char kCategory2[] = "category2";
inline constexpr char kStatus[] = "status";
inline constexpr char kPaymentTerms[] = "paymentterms";
inline constexpr char kPaymentMethods[] = "paymentmethods";
inline constexpr char kEscrow[] = "escrow";
inline constexpr char kPrice[] = "price";
inline constexpr char kProductId[] = "productid";
inline constexpr char kItemNumber[] = "itemNumber";
inline constexpr char kFileSize[] = "filesize";
inline constexpr char kCriteria[] = "criteria";
inline constexpr char kCategory[] = "category";
inline constexpr char kClub[] = "club";
inline constexpr char kPriceSwitch[] = "priceswitch";
inline constexpr char kUser[] = "user";
inline constexpr char kUserBought[] = "userbought";
inline constexpr char kSellerId[] = "SenderID";
inline constexpr char kSenderId[] = "senderid";
inline constexpr char kRecipientId[] = "recipientid";
inline constexpr char kOfferTitle[] = "title";
inline constexpr char kOfferPrice[] = "Price";
// The fields of the forms the marketplace's own pages post.
inline constexpr char kMessageBody[] = "body";
inline constexpr char kParentCategory[] = "parent";
inline constexpr char kNote[] = "note";
inline constexpr char kClubName[] = "clubname";
// The keys of a kept file, and the field of My listings that says its files are all kept.
inline constexpr char kFileName[] = "name";
inline constexpr char kFileBytes[] = "size";
inline constexpr char kFileDigest[] = "sha256";
inline constexpr char kFilesKept[] = "fileskept";
}  // namespace key

// What the marketplace keeps of a listing's files: bytes of one file, files of one listing,
// bytes of all one member's files.
inline constexpr unsigned long long kMostKeptFileBytes = 8ull << 20;
inline constexpr int kMostKeptFilesPerListing = 10;
inline constexpr unsigned long long kMostKeptMemberBytes = 200ull << 20;

// The replies of the kept-file pages.
namespace kept {
inline constexpr char kStored[] = "0";
inline constexpr char kNotOwner[] = "-1";
inline constexpr char kFileTooLarge[] = "-2";
inline constexpr char kTooManyFiles[] = "-3";
inline constexpr char kMemberFull[] = "-4";
inline constexpr char kNotAnImage[] = "-5";
inline constexpr char kDamaged[] = "-6";
inline constexpr char kBadName[] = "-7";
inline constexpr char kSomeMissing[] = "-8";
}  // namespace kept

// The HTTP basic-authentication pair that requests of the service style carry, and the pair
// the bought-items list is asked with.
inline constexpr char kServiceUser[] = "zeyan";
inline constexpr char kServicePassword[] = "vexil&qo";
inline constexpr char kZeroUser[] = "0";
inline constexpr char kZeroPassword[] = "0";

// A listing's kind while it is active, and the states it can leave that for.
inline constexpr char kSelling[] = "Selling";
inline constexpr char kBuying[] = "Buying";
inline constexpr char kSold[] = "SOLD";
inline constexpr char kInactive[] = "INACTIVE";

// The reference-list files the marketplace publishes under the list folder.
inline constexpr char kCategoryListName[] = "NewTLTree.xml";
inline constexpr char kFirstWordListName[] = "wordlist-1.xml";

}  // namespace tl::contract
