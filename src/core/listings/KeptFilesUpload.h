#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace tl {

// One file of the member's own listing as its listing server serves it.
struct ListingFileToKeep {
    std::string name{};  // the name the marketplace keeps it under
    std::string path{};
};
// The files of products/<id>.xml: the listing file as stored, then each attachment entry a buyer
// would fetch (a name two files would share is left out). Empty when the listing cannot be read.
std::vector<ListingFileToKeep> listingFilesToKeep(const std::string& productId);

enum class KeepResult {
    Kept,       // every file is stored and the set stated: the marketplace keeps them
    NoService,  // the marketplace has no such pages: nothing was changed and nothing is shown
    Refused,    // the marketplace refused a file (reply and file say which and why)
    NotKept,    // the set was stated, but not every file of it is stored
    NotOwner,   // not taken: the member is not online at this address, or the listing is unknown
    Failed,     // the listing could not be read, or a request was not made or answered
};
struct KeepOutcome {
    KeepResult result = KeepResult::Failed;
    std::string reply{};  // the marketplace's reply to the refused file
    std::string file{};   // the refused file's name
};

// Sends the marketplace each file of the listing (one request each, with its size and SHA-256),
// then the names of the whole set. A file over the marketplace's cap is refused here as the
// marketplace would, without its bytes being sent. After a refusal no further file is sent,
// and the set is stated all the same, so the marketplace lets go of what the listing no longer
// has. Blocks: run it off the user interface's thread.
KeepOutcome sendListingFiles(const std::string& productId,
                             const std::atomic<bool>* abandon = nullptr);

struct KeepOutcomeBox {
    std::string caption;
    std::string text;
};
// What the member is told of the outcome; nothing when the files are kept or the marketplace
// has no such pages.
std::optional<KeepOutcomeBox> keepOutcomeBox(const std::string& productId,
                                             const KeepOutcome& outcome);

// What a member who asked for the send is told besides: that the files are kept, or that the
// marketplace keeps no files; nothing for the other outcomes, which keepOutcomeBox tells.
std::optional<KeepOutcomeBox> keepConfirmationBox(const std::string& productId, KeepResult result);

}  // namespace tl
