#include "SearchTextSample.h"

#include <string.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <tuple>

namespace tl::market {
namespace {

// Reading a listing while walking costs about a quarter of fetching one the index named.
constexpr double kWalkCostRatio = 4.0;
// Fewer sampled holders than this say too little about how common a text is.
constexpr std::size_t kMinimumHolders = 20;

bool wordByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool asciiSeparator(char c) {
    return static_cast<unsigned char>(c) < 0x80 && !wordByte(c);
}

std::uint32_t trigramKey(const char* at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(at[0])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(at[1])) << 8 |
           static_cast<unsigned char>(at[2]);
}

// The distinct pieces of text the trigram index can be asked for: three letters or digits, or
// two at the start or the end of a word, with the separator before or after them.
std::vector<std::uint32_t> indexedPieces(std::string_view text) {
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
        const char a = text[i], b = text[i + 1], c = text[i + 2];
        if (wordByte(b) && ((wordByte(a) && (wordByte(c) || asciiSeparator(c))) ||
                            (asciiSeparator(a) && wordByte(c))))
            out.push_back(trigramKey(text.data() + i));
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

}  // namespace

SearchTextSample::SearchTextSample(std::vector<std::string> texts) : texts_(std::move(texts)) {
    for (std::uint32_t i = 0; i < texts_.size(); ++i)
        for (const std::uint32_t trigram : indexedPieces(texts_[i])) holders_[trigram].push_back(i);
}

bool SearchTextSample::worthWalking(std::string_view needle, std::size_t marketSize,
                                    std::size_t wanted) const {
    if (needle.empty()) return false;
    std::size_t hits = 0;
    for (const std::string& text : texts_)
        if (memmem(text.data(), text.size(), needle.data(), needle.size())) ++hits;
    if (hits < kMinimumHolders) return false;
    // Walking reads about wanted / share listings; the index hands over at least
    // share * marketSize listings to fetch.
    const double share = static_cast<double>(hits) / static_cast<double>(texts_.size());
    const double walked = static_cast<double>(wanted) / share;
    const double fetched = share * static_cast<double>(std::max(marketSize, texts_.size()));
    return walked < kWalkCostRatio * fetched;
}

std::vector<std::string> SearchTextSample::rarestPieces(std::string_view needle) const {
    static const std::vector<std::uint32_t> nobody;
    const auto holdersOf = [&](std::uint32_t trigram) -> const std::vector<std::uint32_t>& {
        const auto it = holders_.find(trigram);
        return it == holders_.end() ? nobody : it->second;
    };
    const auto piece = [](std::uint32_t t) {
        return std::string{static_cast<char>(t >> 16), static_cast<char>(t >> 8 & 0xff),
                           static_cast<char>(t & 0xff)};
    };
    const std::vector<std::uint32_t> trigrams = indexedPieces(needle);
    // The trigram other than `taken` that the fewest of the texts `among` hold (all texts when
    // among is null). Ties go by the holders, then by the trigram, so a search asks alike
    // whichever process serves it.
    const auto fewestHolders = [&](const std::vector<std::uint32_t>* among,
                                   std::optional<std::uint32_t> taken) {
        std::optional<std::tuple<std::size_t, std::size_t, std::uint32_t>> best;
        for (const std::uint32_t t : trigrams) {
            if (t == taken) continue;
            const auto& with = holdersOf(t);
            std::size_t along = with.size();
            if (among) {
                std::vector<std::uint32_t> both;
                std::set_intersection(among->begin(), among->end(), with.begin(), with.end(),
                                      std::back_inserter(both));
                along = both.size();
            }
            const auto rank = std::make_tuple(along, with.size(), t);
            if (!best || rank < *best) best = rank;
        }
        return best ? std::optional<std::uint32_t>(std::get<2>(*best)) : std::nullopt;
    };
    std::vector<std::string> pieces;
    const auto first = fewestHolders(nullptr, std::nullopt);
    if (!first) return pieces;
    pieces.push_back(piece(*first));
    if (const auto second = fewestHolders(&holdersOf(*first), first))
        pieces.push_back(piece(*second));
    return pieces;
}

}  // namespace tl::market
