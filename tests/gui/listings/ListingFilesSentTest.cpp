#include "NewListingFixture.h"
#include "core/service/MarketContract.h"
#include "gui/listings/ListingFilesSending.h"

namespace tl::test {
namespace {

namespace page = contract::page;
using ListingFilesSent = NewListingTest;

// After Add the listing's files go to the marketplace off the form's thread; what the
// marketplace answers is told once it has answered.
TEST_F(ListingFilesSent, AnAddedListingsFilesGoInTheBackgroundAndOnlyARefusalIsTold) {
    home.write("pictures/a.jpg", "\xFF\xD8\xFF photo");
    const ScriptedUi::Box added{"Product Added",
                                "Item #17 was succefully add to your sharable directory."};
    struct Case {
        const char* name;
        const char* photoReply;  // nullptr: the marketplace has none of the pages
        std::vector<std::string> sent;
        bool told;
    };
    const Case cases[] = {
        {"older marketplace", nullptr, {page::kPutListingFile}, false},
        {"kept",
         "0",
         {page::kPutListingFile, page::kPutListingFile, page::kKeepListingFiles},
         false},
        {"not a picture",
         "-5",
         {page::kPutListingFile, page::kPutListingFile, page::kKeepListingFiles},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        nextId = 17;
        ui.clear();
        if (c.photoReply) {
            server.handle(page::kPutListingFile,
                          [reply = std::string(c.photoReply)](const auto& request) {
                              return request.target.find("name=a.jpg") != std::string::npos
                                         ? reply
                                         : std::string(contract::kept::kStored);
                          });
            server.reply(page::kKeepListingFiles, c.photoReply == std::string("0") ? "0" : "-8");
        }
        const std::size_t before = server.targets().size();
        auto form = shownForm();
        fillItem(*form);
        attach(*form, {home.path() + "pictures/a.jpg"});
        form->Add();
        ASSERT_TRUE(waitForListingFilesSent(10000));
        std::vector<std::string> sent;
        const std::vector<std::string> targets = server.targets();
        for (std::size_t i = before; i < targets.size(); ++i)
            if (targets[i].starts_with("/tradeloom/app/") &&
                (targets[i].find("listingfile") != std::string::npos))
                sent.push_back(targets[i].substr(0, targets[i].find('?')));
        EXPECT_EQ(sent, c.sent);
        ASSERT_EQ(ui.boxes().size(), c.told ? 2u : 1u);
        EXPECT_EQ(ui.boxes()[0], added);
        if (c.told) {
            EXPECT_EQ(ui.boxes()[1].first, "Listing Files");
            EXPECT_NE(ui.boxes()[1].second.find("\"a.jpg\" of listing 17: it is not a picture"),
                      std::string::npos);
        }
    }
}

}  // namespace
}  // namespace tl::test
