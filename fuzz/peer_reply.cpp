// The download client's reading of a seller's reply: the announced length, the bytes stored
// under the limit, and the attachment entries the stored listing names.
#include <cstdio>

#include "FuzzSupport.h"
#include "core/listings/AttachmentEntries.h"
#include "core/listings/FileScramble.h"
#include "core/peer/PeerFileFetch.h"
#include "core/platform/Files.h"
#include "core/platform/ProgramDirectory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tl;
    constexpr std::uint32_t kLargest = 1u << 16;
    const std::string target = fuzz::fuzzHome() + "downloads/12.xml";
    createDirectories(downloadsDirectory());
    std::remove(target.c_str());
    const std::string input = fuzz::text(data, size);
    fuzz::ScriptedChannel channel(input);
    if (receivePeerFile(channel, target, kLargest) != PeerFileResult::Stored) {
        fuzz::require(!fileExists(target), "a file stored from a reply that did not come whole");
        return 0;
    }
    const std::optional<std::string> stored = readWholeFile(target);
    fuzz::require(stored && input.size() >= 5, "a stored reply that cannot be read back");
    const std::uint32_t announced = decodeLength(std::string_view(input).substr(1, 4));
    fuzz::require(announced <= kLargest && stored->size() == announced,
                  "stored bytes other than the announced length");
    // A seller sends its listing scrambled; scrambling the stored bytes here lets the fuzzer
    // write the plain listing that downloadedAttachmentEntries reads back.
    std::string scrambled = *stored;
    scrambleBytes(scrambled);
    for (const std::string& entry : downloadedAttachmentEntries("12", scrambled))
        fuzz::require(
            fuzz::staysIn(joinStoredName(downloadsDirectory(), entry), downloadsDirectory()),
            "an attachment entry that leaves the downloads folder");
    return 0;
}
