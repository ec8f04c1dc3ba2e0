#pragma once

#include <optional>
#include <string>

namespace tl::market {

// The reference-list files the marketplace publishes from its data folder: the category list
// and the word lists "wordlist-N.xml" (the highest N is current). Missing files are written on
// first start.
class ReferenceLists {
public:
    explicit ReferenceLists(std::string folder);

    std::string currentWordListName() const;
    // The content of a published list file; nothing for any other name.
    std::optional<std::string> file(const std::string& name) const;

private:
    std::string folder_;
};

// The seeded category list and word list.
std::string seedCategoryList();
std::string seedWordList();

}  // namespace tl::market
