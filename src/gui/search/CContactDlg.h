#pragma once

#include <string>

#include "gui/widgets/TemplateDialog.h"

namespace tl {

// The poster's contact information for the selected item ("Buy"), read from the server's copy
// of the listing, and the way to make the poster an offer through the message pages.
class CContactDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CContactDlg(QWidget* parent = nullptr);

    const std::string& poster() const { return poster_; }
    const std::string& contactInfo() const { return contactInfo_; }

    void onChatNow();
    // Opens the compose page for an offer in a Message Center window of its own, then closes.
    void onMakeOffer();

    // Runs the dialog for the selected item modally.
    static void showForSelection();

private:
    std::string poster_;
    std::string contactInfo_;
};

}  // namespace tl
