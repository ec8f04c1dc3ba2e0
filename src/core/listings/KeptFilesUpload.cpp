#include "core/listings/KeptFilesUpload.h"

#include <filesystem>
#include <system_error>

#include "core/listings/AttachmentEntries.h"
#include "core/listings/CProductXml.h"
#include "core/listings/KeptFiles.h"
#include "core/listings/ListingPaths.h"
#include "core/platform/Files.h"
#include "core/platform/HttpRequest.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Sha256.h"
#include "core/service/MarketContract.h"
#include "core/service/Query.h"

namespace tl {
namespace {

namespace page = contract::page;
namespace key = contract::key;
namespace kept = contract::kept;

constexpr int kNotFound = 404;
// The replies of these pages are a word; anything longer is not one of them.
constexpr std::size_t kLargestReply = 1024;

std::string trimmed(std::string text) {
    const std::size_t end = text.find_last_not_of(" \t\r\n");
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text.substr(std::min(text.size(), text.find_first_not_of(" \t\r\n")));
}

struct Judged {
    bool answered = false;  // false: not made, or not answered with the page's status 200
    bool missing = false;   // the page is not there (404)
    std::string word{};
};

Judged post(const Query& query, std::string_view body, const std::atomic<bool>* abandon) {
    try {
        const HttpReply reply = exchange({.address = query.address(),
                                          .postBody = body,
                                          .largestReply = kLargestReply,
                                          .abandon = abandon});
        if (reply.status == kNotFound) return {.missing = true};
        if (reply.status != 200) return {};
        return {.answered = true, .word = trimmed(reply.body)};
    } catch (const RequestError&) {
        return {};
    }
}

std::string megabytes(unsigned long long bytes) {
    return std::to_string(bytes >> 20) + " MB";
}

std::uint64_t sizeOf(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<std::uint64_t>(size);
}

// Sends one file; the outcome for a file not stored, nothing once it is.
std::optional<KeepOutcome> putFile(const std::string& productId, const ListingFileToKeep& file,
                                   const std::atomic<bool>* abandon) {
    if (sizeOf(file.path) > contract::kMostKeptFileBytes)
        return KeepOutcome{KeepResult::Refused, kept::kFileTooLarge, file.name};
    const std::optional<std::string> bytes = readWholeFile(file.path);
    if (!bytes || bytes->size() > contract::kMostKeptFileBytes) return KeepOutcome{};
    const Judged judged = post(Query(page::kPutListingFile)
                                   .add(key::kProductId, productId)
                                   .add(key::kFileName, file.name)
                                   .add(key::kFileBytes, std::to_string(bytes->size()))
                                   .add(key::kFileDigest, sha256Hex(*bytes)),
                               *bytes, abandon);
    if (judged.missing) return KeepOutcome{KeepResult::NoService};
    if (!judged.answered) return KeepOutcome{};
    if (judged.word == kept::kStored) return std::nullopt;
    if (judged.word == kept::kNotOwner) return KeepOutcome{KeepResult::NotOwner};
    return KeepOutcome{KeepResult::Refused, judged.word, file.name};
}

// States the listing's whole set of files.
KeepOutcome keepSet(const std::string& productId, const std::vector<ListingFileToKeep>& files,
                    const std::atomic<bool>* abandon) {
    std::string names;
    for (const ListingFileToKeep& file : files) names += file.name + "\n";
    const Judged judged =
        post(Query(page::kKeepListingFiles).add(key::kProductId, productId), names, abandon);
    if (judged.missing) return {KeepResult::NoService};
    if (!judged.answered) return {};
    if (judged.word == kept::kStored) return {KeepResult::Kept};
    if (judged.word == kept::kNotOwner) return {KeepResult::NotOwner};
    return {KeepResult::NotKept};
}

}  // namespace

std::vector<ListingFileToKeep> listingFilesToKeep(const std::string& productId) {
    if (!isProductId(productId)) return {};
    CProductXml listing;
    if (!listing.OpenOwn(productId)) return {};
    std::vector<ListingFileToKeep> files{{keptListingName(productId), ownListingPath(productId)}};
    std::vector<std::string> entries;
    while (listing.NextAttachment())
        if (std::string entry = listing.AttachmentText();
            isAcceptedAttachmentEntry(productId, entry))
            entries.push_back(std::move(entry));
    const std::vector<std::string> names = keptEntryNames(productId, entries);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string path = joinStoredName(productsDirectory(), entries[i]);
        if (!names[i].empty() && fileExists(path)) files.push_back({names[i], path});
    }
    return files;
}

KeepOutcome sendListingFiles(const std::string& productId, const std::atomic<bool>* abandon) {
    const std::vector<ListingFileToKeep> files = listingFilesToKeep(productId);
    if (files.empty()) return {};
    for (const ListingFileToKeep& file : files) {
        const std::optional<KeepOutcome> refused = putFile(productId, file, abandon);
        if (!refused) continue;
        if (refused->result == KeepResult::Refused) keepSet(productId, files, abandon);
        return *refused;
    }
    return keepSet(productId, files, abandon);
}

std::optional<KeepOutcomeBox> keepConfirmationBox(const std::string& productId, KeepResult result) {
    if (result == KeepResult::Kept)
        return KeepOutcomeBox{"Listing Files",
                              "The marketplace keeps the files of listing " + productId +
                                  ": buyers get its photos also while your computer is offline."};
    if (result == KeepResult::NoService)
        return KeepOutcomeBox{"Listing Files",
                              "This marketplace keeps no copies of listing files: buyers get the "
                              "photos from your computer while it is online."};
    return std::nullopt;
}

std::optional<KeepOutcomeBox> keepOutcomeBox(const std::string& productId,
                                             const KeepOutcome& outcome) {
    const std::string later =
        " Buyers get the photos from your computer while it is online; you can send the files "
        "again from My listings.";
    const std::string listing = "listing " + productId;
    const auto box = [&](const std::string& text) {
        return KeepOutcomeBox{"Listing Files", text + later};
    };
    const std::string file = "The marketplace did not keep \"" + outcome.file + "\" of " + listing;
    switch (outcome.result) {
        case KeepResult::Kept:
        case KeepResult::NoService:
            return std::nullopt;
        case KeepResult::NotOwner:
            return box("The marketplace did not take the files of " + listing +
                       ": it takes them only from the computer where you are logged in.");
        case KeepResult::NotKept:
            return box("Not every file of " + listing + " reached the marketplace.");
        case KeepResult::Failed:
            return box("The files of " + listing + " could not be sent to the marketplace.");
        case KeepResult::Refused:
            break;
    }
    if (outcome.reply == kept::kFileTooLarge)
        return box(file + ": a file may be at most " + megabytes(contract::kMostKeptFileBytes) +
                   ".");
    if (outcome.reply == kept::kTooManyFiles)
        return box(file + ": the marketplace keeps at most " +
                   std::to_string(contract::kMostKeptFilesPerListing) +
                   " files of a listing (the listing itself, its photos and the business card).");
    if (outcome.reply == kept::kMemberFull)
        return box(file + ": the files of all your listings together may be at most " +
                   megabytes(contract::kMostKeptMemberBytes) + ".");
    if (outcome.reply == kept::kNotAnImage)
        return box(file + ": it is not a picture (JPEG, PNG, GIF, BMP or WebP).");
    if (outcome.reply == kept::kDamaged) return box(file + ": it arrived damaged.");
    if (outcome.reply == kept::kBadName) return box(file + ": its file name cannot be kept.");
    return box(file + ".");
}

}  // namespace tl
