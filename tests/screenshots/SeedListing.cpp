// seed_listing USER PASSWORD PHOTO...: logs the member in (from TRADELOOM_BIND, to
// TRADELOOM_SERVER) and publishes a listing with the photos into the program directory
// (TRADELOOM_HOME), as the new-listing form would, so the screenshots show a listing a buyer can
// open from the seller's machine. Prints the listing's id.
#include <filesystem>
#include <iostream>

#include "core/listings/CProductXml.h"
#include "core/platform/ProgramDirectory.h"
#include "core/session/Login.h"
#include "core/session/Session.h"
#include "support/SampleListing.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: seed_listing USER PASSWORD PHOTO...\n";
        return 2;
    }
    const std::string user = argv[1];
    if (tl::loginRequest(user, argv[2]) != tl::kLoginOk) {
        std::cerr << "seed_listing: " << user << " cannot log in\n";
        return 1;
    }
    tl::session().currentUserName = user;

    tl::ListingValues values = tl::test::chairListing();
    values.title = "Oak rocking chair";
    values.description =
        "Solid oak rocking chair from the 1950s, refinished last spring. Smooth rock, no wobble, "
        "a few honest marks on the arms. Pick up in Springfield or I ship at your cost.";
    values.username = user;
    values.price = "120.00";

    tl::CProductXml listing;
    if (!listing.BuildAndSave("", values) || !listing.Publish()) {
        std::cerr << "seed_listing: the listing was not published\n";
        return 1;
    }
    const std::string id = listing.productId();
    long long totalBytes = 0;
    for (int photo = 1; photo + 2 < argc; ++photo) {
        const std::string entry = id + "/photo" + std::to_string(photo) +
                                  std::filesystem::path(argv[photo + 2]).extension().string();
        std::filesystem::copy_file(argv[photo + 2], tl::productsDirectory() + entry);
        totalBytes += static_cast<long long>(std::filesystem::file_size(argv[photo + 2]));
        if (!listing.AddAttachment(entry)) return 1;
    }
    if (!listing.ReportFileSize(totalBytes)) return 1;
    std::cout << id << "\n";
    return 0;
}
