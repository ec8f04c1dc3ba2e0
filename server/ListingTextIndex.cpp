#include "ListingTextIndex.h"

#include <string.h>

#include <algorithm>
#include <mutex>

namespace tl::market {
namespace {

void insertSorted(std::vector<std::int64_t>& ids, std::int64_t id) {
    const auto at = std::lower_bound(ids.begin(), ids.end(), id);
    if (at == ids.end() || *at != id) ids.insert(at, id);
}

void eraseSorted(std::vector<std::int64_t>& ids, std::int64_t id) {
    const auto at = std::lower_bound(ids.begin(), ids.end(), id);
    if (at != ids.end() && *at == id) ids.erase(at);
}

bool contains(const std::string& haystack, std::string_view needle) {
    return memmem(haystack.data(), haystack.size(), needle.data(), needle.size()) != nullptr;
}

}  // namespace

std::string ListingTextIndex::fold(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::vector<std::uint32_t> ListingTextIndex::trigrams(std::string_view folded) {
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i + 3 <= folded.size(); ++i)
        out.push_back(static_cast<std::uint32_t>(static_cast<unsigned char>(folded[i])) << 16 |
                      static_cast<std::uint32_t>(static_cast<unsigned char>(folded[i + 1])) << 8 |
                      static_cast<unsigned char>(folded[i + 2]));
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

void ListingTextIndex::unlink(std::int64_t productid, const Entry& entry) {
    for (const std::uint32_t trigram : trigrams(entry.text)) {
        auto it = postings_.find(trigram);
        if (it == postings_.end()) continue;
        eraseSorted(it->second, productid);
        if (it->second.empty()) postings_.erase(it);
    }
}

void ListingTextIndex::put(std::int64_t productid, std::string_view title,
                           std::string_view description, bool active, Kind kind) {
    std::string text = fold(title);
    text += '\x01';
    text += fold(description);
    std::unique_lock lock(mutex_);
    auto existing = entries_.find(productid);
    if (existing != entries_.end() && existing->second.text == text) {
        existing->second.active = active;
        existing->second.kind = kind;
        return;
    }
    if (existing != entries_.end()) unlink(productid, existing->second);
    for (const std::uint32_t trigram : trigrams(text)) insertSorted(postings_[trigram], productid);
    insertSorted(ids_, productid);
    entries_[productid] = Entry{std::move(text), active, kind};
}

void ListingTextIndex::remove(std::int64_t productid) {
    std::unique_lock lock(mutex_);
    const auto existing = entries_.find(productid);
    if (existing == entries_.end()) return;
    unlink(productid, existing->second);
    eraseSorted(ids_, productid);
    entries_.erase(existing);
}

std::vector<std::int64_t> ListingTextIndex::find(std::string_view text, const Kind* kind,
                                                 std::size_t limit) const {
    const std::string needle = fold(text);
    std::vector<std::int64_t> found;
    std::shared_lock lock(mutex_);
    // Candidates: the listings holding the rarest trigram of the text, or all of them when the
    // text is shorter than a trigram.
    const std::vector<std::int64_t>* candidates = &ids_;
    if (needle.size() >= 3) {
        for (const std::uint32_t trigram : trigrams(needle)) {
            const auto it = postings_.find(trigram);
            if (it == postings_.end()) return found;
            if (candidates == &ids_ || it->second.size() < candidates->size())
                candidates = &it->second;
        }
    }
    for (auto id = candidates->rbegin(); id != candidates->rend() && found.size() < limit; ++id) {
        const Entry& entry = entries_.at(*id);
        if (!entry.active || (kind && entry.kind != *kind)) continue;
        if (contains(entry.text, needle)) found.push_back(*id);
    }
    return found;
}

std::size_t ListingTextIndex::size() const {
    std::shared_lock lock(mutex_);
    return entries_.size();
}

}  // namespace tl::market
