#include "core/reflists/WordFilter.h"

#include <exception>

#include "core/platform/ProgramDirectory.h"
#include "core/platform/Ui.h"
#include "core/session/Session.h"

namespace tl {
namespace {

// Elements before this index carry no word.
constexpr std::size_t kFirstWord = 2;

}  // namespace

int WordFilter::Load() {
    if (document_) return 0;
    document_ = std::make_unique<XmlDocument>();
    try {
        // The name comes from the server and names a file directly in the program directory.
        const std::string path = plainFileIn(programDirectory(), session().wordListFileName);
        if (path.empty()) return 0;
        // Words are taken as stored: a word of spaces stays one, rather than an empty word
        // that every title contains.
        if (!document_->load(path, XmlDocument::Spaces::Keep)) return 0;
        elements_ = document_->allElements();
        index_ = kFirstWord;
        return 1;
    } catch (const std::exception&) {
        elements_.clear();
        return 0;
    }
}

int WordFilter::Next() {
    if (!HasNext()) return 0;
    words_.push_back(elements_[index_].text());
    ++index_;
    return 1;
}

int WordFilter::Check(const std::string& text) {
    try {
        for (std::size_t at = kFirstWord; at < elements_.size(); ++at)
            if (text.find(elements_[at].text()) != std::string::npos) return 0;
        return 1;
    } catch (const std::exception&) {
        ui().messageBox("Error", "Exception occurred in Word Filter");
        return 0;
    }
}

}  // namespace tl
