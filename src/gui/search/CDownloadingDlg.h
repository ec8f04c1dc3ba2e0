#pragma once

#include <QDialog>
#include <QTimer>

#include <memory>
#include <string>

#include "core/peer/ListingDownload.h"
#include "core/platform/Ui.h"

class QProgressBar;

namespace tl {

// Opens a listing: fetches it (with its attachments) from the seller, or the marketplace
// server's copy, on a worker thread while the "Downloading" dialog runs modally, so the member
// can start nothing else meanwhile. Returns the downloaded listing's path, or empty when the
// member cancelled or nothing new was stored. When attachments were left out by the bounds on
// one opening, the member is told how many.
std::string downloadListing(const std::string& productId, const std::string& sellerAddress,
                            const DownloadSettings& settings = {});
// What the member is told of skipped attachments.
std::string skippedEntriesText(int skipped, const DownloadSettings& settings);

// The "Downloading" dialog: waits for one fetch's completion while its progress bar shows
// activity (one step of 5 every 300 ms over 0 to 50, then again from 0) until the fetch knows
// its files; from then on the bar shows how far it has come, over 0 to kProgressWhole.
// "Cancel", or closing the dialog, tells the member "Canceled", ends the wait and stops the
// fetch at its next read, which removes the file it had not finished; its late end reaches
// nobody.
class CDownloadingDlg : public QDialog, public ModalDialog {
    Q_OBJECT
public:
    static constexpr int kStep = 5;
    static constexpr int kRangeEnd = 50;
    static constexpr int kTickMilliseconds = 300;

    explicit CDownloadingDlg(std::shared_ptr<DownloadCompletion> completion,
                             QWidget* parent = nullptr);
    ~CDownloadingDlg() override;

    // kDialogOk when the fetch finished, kDialogCancel when the member cancelled.
    int runModalLoop() override;
    bool cancelled() const { return cancelled_; }

    void onCancel();
    void onTick();
    void reject() override;  // the close box and Escape cancel as the button does

private:
    std::shared_ptr<DownloadCompletion> completion_;
    QProgressBar* progress_;
    QTimer ticks_;
    bool cancelled_ = false;
};

}  // namespace tl
