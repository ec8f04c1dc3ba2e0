#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tl::market {

// The search texts of the newest listings, by which a quick search on a shared database picks
// how to look: a text that many listings hold is found soonest by walking the listings newest
// first; any other is looked up in the trigram index by its rarest pieces only, since a common
// trigram costs the index a walk over nearly every listing. The sample only steers the cost of a
// search: every way of looking returns the same listings.
class SearchTextSample {
public:
    SearchTextSample() = default;
    // texts: search texts as the database keeps them (ASCII letters folded to lower case);
    // kinds: the kind of each text's listing, or nothing when kinds are not told apart.
    explicit SearchTextSample(std::vector<std::string> texts, std::vector<std::string> kinds = {});

    // The part of the sampled texts that hold needle (and belong to a listing of the kind, when
    // one is given): 0 when none do (or there is no sample).
    double share(std::string_view needle, std::string_view kind = {}) const;

    // Whether the newest `wanted` listings holding a text that `share` of the sampled texts hold
    // are found sooner by walking about marketSize listings newest first than through the index:
    // true when the text is common enough that they are near the top.
    bool worthWalking(double share, std::size_t marketSize, std::size_t wanted) const;

    // Two three-byte pieces of needle that the index keeps (three ASCII letters or digits, or
    // two at the start or end of a word with the separator next to them) and that the fewest
    // sampled texts hold together: the rarest piece, then the one rarest among the texts
    // holding the first (pieces of one word mostly come together, so the second is usually
    // from another word). None when needle has no such piece.
    std::vector<std::string> rarestPieces(std::string_view needle) const;

    std::size_t size() const { return texts_.size(); }

private:
    // A piece of a search text and the index trigram it asks for (separators read as spaces);
    // at the start of a word, also the trigram of the word's first letter that it brings along.
    struct Piece {
        std::uint32_t trigram;
        std::string text;
        std::optional<std::uint32_t> wordStart = std::nullopt;
    };
    static std::vector<Piece> askablePieces(std::string_view needle);

    std::vector<std::string> texts_;
    std::vector<std::string> kinds_;
    // Index trigram -> the sampled texts (by position, ascending) that hold it.
    std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> holders_;
};

}  // namespace tl::market
