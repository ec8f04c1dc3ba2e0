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
// Fetching a listing the index named costs about as much as the index reading this many
// holders of a trigram.
constexpr std::size_t kFetchCost = 350;
// Fewer sampled holders than this say too little about how common a text is.
constexpr std::size_t kMinimumHolders = 20;

bool wordByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool asciiSeparator(char c) {
    return static_cast<unsigned char>(c) < 0x80 && !wordByte(c);
}

std::uint32_t trigramKey(char a, char b, char c) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8 |
           static_cast<unsigned char>(c);
}

void sortUnique(std::vector<std::uint32_t>& keys) {
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
}

// The trigrams the index keeps for text: those of each word of ASCII letters and digits with
// two spaces before it and one after it, whatever separates the words.
std::vector<std::uint32_t> indexTrigrams(std::string_view text) {
    std::vector<std::uint32_t> out;
    for (std::size_t start = 0; start < text.size();) {
        if (!wordByte(text[start])) {
            ++start;
            continue;
        }
        std::size_t end = start;
        while (end < text.size() && wordByte(text[end])) ++end;
        const std::string padded = "  " + std::string(text.substr(start, end - start)) + " ";
        for (std::size_t i = 0; i + 3 <= padded.size(); ++i)
            out.push_back(trigramKey(padded[i], padded[i + 1], padded[i + 2]));
        start = end;
    }
    sortUnique(out);
    return out;
}

}  // namespace

std::vector<SearchTextSample::Piece> SearchTextSample::askablePieces(std::string_view needle) {
    std::vector<Piece> out;
    for (std::size_t i = 0; i + 3 <= needle.size(); ++i) {
        const char a = needle[i], b = needle[i + 1], c = needle[i + 2];
        if (!wordByte(b)) continue;
        const std::string text(needle.substr(i, 3));
        if (wordByte(a) && wordByte(c))
            out.push_back({trigramKey(a, b, c), text});
        else if (wordByte(a) && asciiSeparator(c))
            out.push_back({trigramKey(a, b, ' '), text});
        else if (asciiSeparator(a) && wordByte(c))
            // The start of a word also asks for the word's first letter alone.
            out.push_back({trigramKey(' ', b, c), text, trigramKey(' ', ' ', b)});
    }
    return out;
}

SearchTextSample::SearchTextSample(std::vector<std::string> texts, std::vector<std::string> kinds)
    : texts_(std::move(texts)), kinds_(std::move(kinds)) {
    for (std::uint32_t i = 0; i < texts_.size(); ++i)
        for (const std::uint32_t trigram : indexTrigrams(texts_[i])) holders_[trigram].push_back(i);
}

double SearchTextSample::share(std::string_view needle, std::string_view kind) const {
    if (needle.empty() || texts_.empty()) return 0.0;
    std::size_t holders = 0;
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        if (!kind.empty() && (i >= kinds_.size() || kinds_[i] != kind)) continue;
        const std::string& text = texts_[i];
        if (memmem(text.data(), text.size(), needle.data(), needle.size())) ++holders;
    }
    return static_cast<double>(holders) / static_cast<double>(texts_.size());
}

bool SearchTextSample::worthWalking(double share, std::size_t marketSize,
                                    std::size_t wanted) const {
    if (share * static_cast<double>(texts_.size()) < kMinimumHolders) return false;
    // Walking reads about wanted / share listings; the index hands over at least
    // share * marketSize listings to fetch.
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
    const std::vector<Piece> pieces = askablePieces(needle);
    // The piece other than `taken` that costs the least to ask for along the texts `among` (all
    // texts when among is null): the index reads the holders of each of its trigrams, and every
    // text left holding all the pieces asked is fetched, which costs as much as reading
    // kFetchCost holders. Ties go by the holders, then by the piece, so a search asks alike
    // whichever process serves it.
    const auto cheapest = [&](const std::vector<std::uint32_t>* among,
                              const Piece* taken) -> const Piece* {
        const Piece* best = nullptr;
        std::tuple<std::size_t, std::size_t, std::string_view> bestRank;
        for (const Piece& piece : pieces) {
            if (taken && piece.trigram == taken->trigram) continue;
            const auto& with = holdersOf(piece.trigram);
            std::size_t along = with.size();
            if (among) {
                std::vector<std::uint32_t> both;
                std::set_intersection(among->begin(), among->end(), with.begin(), with.end(),
                                      std::back_inserter(both));
                along = both.size();
            }
            const std::size_t read =
                with.size() + (piece.wordStart ? holdersOf(*piece.wordStart).size() : 0);
            const auto rank = std::make_tuple(along * kFetchCost + read, with.size(),
                                              std::string_view(piece.text));
            if (!best || rank < bestRank) {
                best = &piece;
                bestRank = rank;
            }
        }
        return best;
    };
    std::vector<std::string> chosen;
    const Piece* first = cheapest(nullptr, nullptr);
    if (!first) return chosen;
    chosen.push_back(first->text);
    if (const Piece* second = cheapest(&holdersOf(first->trigram), first))
        chosen.push_back(second->text);
    return chosen;
}

}  // namespace tl::market
