#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "core/platform/XmlDocument.h"

namespace tl {

// The title word filter: the marketplace's list of forbidden words, a file in the program
// directory named by the session's word list file name. The file's first two elements (its root
// and the container inside it) carry no word; the text of every later element is one word.
// Usage: Load; if it gave 1, Next while HasNext; then Check the title.
class WordFilter {
public:
    // 1 when the word list was loaded; 0 when it is missing, not well-formed or its name would
    // leave the program directory. A second call reads nothing again and gives 0.
    int Load();
    // Reads the next word into Words(); 1 when there was one.
    int Next();
    bool HasNext() const { return index_ < elements_.size(); }
    const std::vector<std::string>& Words() const { return words_; }

    // 1 when text contains none of the words, 0 when it contains one. Matching is a plain,
    // case-sensitive substring search on the bytes, so an empty word matches every text. An error
    // while checking shows "Exception occurred in Word Filter" and counts as a match.
    int Check(const std::string& text);

private:
    std::unique_ptr<XmlDocument> document_;  // made on the first Load
    std::vector<XmlNode> elements_;
    std::size_t index_ = 0;
    std::vector<std::string> words_;
};

}  // namespace tl
