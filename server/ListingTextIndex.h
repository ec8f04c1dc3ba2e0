#pragma once

#include <cstdint>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tl::market {

// An in-memory index of the listings' title and description text for the quick search: which
// listings contain a text (ASCII case folded), newest first. Each listing's text is kept with
// the set of its byte trigrams; a search walks the listings that hold the search text's rarest
// trigram newest first, keeps those that hold its other trigrams too and confirms each with a
// substring search, so a search costs about as much as the number of listings that could match,
// not the number of listings.
class ListingTextIndex {
public:
    enum class Kind { Selling, Buying };

    // Adds or replaces a listing. Only active listings are found.
    void put(std::int64_t productid, std::string_view title, std::string_view description,
             bool active, Kind kind);
    void remove(std::int64_t productid);

    // Product ids of active listings (of the kind, or both) whose title or description contains
    // text, newest (highest id) first, at most limit of them. text must not be empty.
    std::vector<std::int64_t> find(std::string_view text, const Kind* kind,
                                   std::size_t limit) const;

    std::size_t size() const;

private:
    struct Entry {
        std::string text;  // folded title, '\x01', folded description
        bool active = false;
        Kind kind = Kind::Selling;
    };

    static std::vector<std::uint32_t> trigrams(std::string_view folded);
    static bool holds(const Entry& entry, std::string_view needle, const Kind* kind);
    void unlink(std::int64_t productid, const Entry& entry);

    mutable std::shared_mutex mutex_;
    std::unordered_map<std::int64_t, Entry> entries_;
    // Trigram -> ids of the listings that contain it, ascending.
    std::unordered_map<std::uint32_t, std::vector<std::int64_t>> postings_;
    std::vector<std::int64_t> ids_;  // every id, ascending: the scan order for short texts
    std::vector<std::int64_t> activeOfKind_[2];  // active ids by Kind, ascending
};

}  // namespace tl::market
