#pragma once

#include <string>

#include "gui/widgets/TemplateDialog.h"

namespace tl {

// "User Not Online": a listing whose poster is offline cannot be fetched from the poster, so it
// cannot be added to the favourites; the member may leave the poster a message about it instead
// ("Make Offer/Ask Question" opens the compose page in a Message Center window).
class CUserNotOnlineDlg : public TemplateDialog {
    Q_OBJECT
public:
    CUserNotOnlineDlg(std::string poster, std::string productId, QWidget* parent = nullptr);

    void onMakeOffer();

    // Tells the member that the poster of the item is offline: the dialog for a chosen item,
    // the plain notice when no item is chosen.
    static void tellPosterOffline(const std::string& productId);

private:
    std::string poster_;
    std::string productId_;
};

}  // namespace tl
