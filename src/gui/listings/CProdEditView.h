#pragma once

#include <string>

#include "gui/listings/ListingForm.h"

class QCheckBox;

namespace tl {

class CProductXml;

// The edit-listing form: the member changes one of their published listings. Shown for an
// Edit on the my-listings screen, it loads the chosen listing; Submit sends the change to the
// marketplace server and, once the server has taken it, replaces the stored listing and shows
// it. Preview Changes shows the edited listing without sending it; coming back from the
// preview finds the member's edits as they were.
class CProdEditView : public ListingForm {
    Q_OBJECT
public:
    explicit CProdEditView(QWidget* parent = nullptr);

    // Fills the form from the stored listing of the selected listing id.
    void Load();
    void Submit();
    void Preview();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildButtons();
    // Shows the stored listing's values; MissingListingField (and nothing shown) when it lacks
    // one.
    void showStored(CProductXml& listing);
    // Appends the card and the entries the listing came with whose files are there; the bytes
    // of those files.
    long long appendStoredEntries(CProductXml& listing) const;
    // "No Item Currently Selected" when no listing is loaded.
    bool listingLoaded() const;

    QCheckBox* reactivate_;
    std::string editedId_;    // the listing in the form; empty when none could be loaded
    std::string storedCard_;  // the card the loaded listing carries
    bool leftForPreview_ = false;
};

}  // namespace tl
