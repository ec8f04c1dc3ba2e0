#include "ListingTextIndex.h"

#include <string.h>

#include <algorithm>
#include <mutex>

#include "Text.h"

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

// Whether the ascending list holds id, for ids asked in descending order: end marks where the
// previous answer left off (nothing from there on is at or below the ids still to come), and is
// moved down by galloping, so a walk costs about the logarithm of the gaps it skips.
bool holdsDescending(const std::vector<std::int64_t>& list, std::size_t& end, std::int64_t id) {
    std::size_t stop = end;
    for (std::size_t step = 1; stop > 0 && list[stop - 1] > id; step *= 2) {
        const std::size_t from = stop > step ? stop - step : 0;
        if (list[from] > id) {
            stop = from;
            continue;
        }
        stop = static_cast<std::size_t>(
            std::upper_bound(list.begin() + static_cast<std::ptrdiff_t>(from),
                             list.begin() + static_cast<std::ptrdiff_t>(stop), id) -
            list.begin());
        break;
    }
    end = stop;
    return stop > 0 && list[stop - 1] == id;
}

}  // namespace

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
    std::string text = asciiLower(title);
    text += '\x01';
    text += asciiLower(description);
    std::unique_lock lock(mutex_);
    for (auto& ids : activeOfKind_) eraseSorted(ids, productid);
    if (active) insertSorted(activeOfKind_[static_cast<int>(kind)], productid);
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
    for (auto& ids : activeOfKind_) eraseSorted(ids, productid);
    entries_.erase(existing);
}

std::vector<std::int64_t> ListingTextIndex::find(std::string_view text, const Kind* kind,
                                                 std::size_t limit) const {
    const std::string needle = asciiLower(text);
    std::vector<std::int64_t> found;
    std::shared_lock lock(mutex_);
    const std::vector<std::int64_t>& listed = kind ? activeOfKind_[static_cast<int>(*kind)] : ids_;
    if (needle.size() < 3) {
        // Shorter than a trigram: every listing is a candidate.
        for (auto id = listed.rbegin(); id != listed.rend() && found.size() < limit; ++id)
            if (holds(entries_.at(*id), needle, kind)) found.push_back(*id);
        return found;
    }
    // The posting lists of the text's trigrams (and the listings of the kind asked for),
    // shortest first: the shortest drives the walk and the others turn candidates away before
    // their text is read.
    std::vector<const std::vector<std::int64_t>*> lists;
    if (kind) lists.push_back(&listed);
    for (const std::uint32_t trigram : trigrams(needle)) {
        const auto it = postings_.find(trigram);
        if (it == postings_.end()) return found;
        lists.push_back(&it->second);
    }
    std::sort(lists.begin(), lists.end(),
              [](const auto* a, const auto* b) { return a->size() < b->size(); });
    std::vector<std::size_t> ends;
    for (const auto* list : lists) ends.push_back(list->size());
    const auto& driver = *lists.front();
    for (auto id = driver.rbegin(); id != driver.rend() && found.size() < limit; ++id) {
        bool candidate = true;
        for (std::size_t i = 1; candidate && i < lists.size(); ++i) {
            if (holdsDescending(*lists[i], ends[i], *id)) continue;
            candidate = false;
            // Trigrams of one word hold nearly the same listings; a list that turns candidates
            // away moves up, so the lists that merely agree with the driver are asked last.
            if (i > 1) {
                std::swap(lists[i], lists[i - 1]);
                std::swap(ends[i], ends[i - 1]);
            }
        }
        if (candidate && holds(entries_.at(*id), needle, kind)) found.push_back(*id);
    }
    return found;
}

bool ListingTextIndex::holds(const Entry& entry, std::string_view needle, const Kind* kind) {
    return entry.active && (!kind || entry.kind == *kind) &&
           memmem(entry.text.data(), entry.text.size(), needle.data(), needle.size()) != nullptr;
}

std::size_t ListingTextIndex::size() const {
    std::shared_lock lock(mutex_);
    return entries_.size();
}

}  // namespace tl::market
