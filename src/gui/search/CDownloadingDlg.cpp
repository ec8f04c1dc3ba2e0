#include "gui/search/CDownloadingDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

#include "gui/search/ListingOpening.h"
#include "gui/widgets/Controls.h"
#include "ids_app.h"
#include "ids_peer.h"

namespace tl {

std::string downloadListing(const std::string& productId, const std::string& sellerAddress,
                            const DownloadSettings& settings) {
    // A completion of its own per fetch: a cancelled earlier fetch cannot end this wait.
    const std::shared_ptr<DownloadCompletion> completion =
        startListingDownload({productId, sellerAddress}, settings);
    CDownloadingDlg dialog(completion);
    if (ui().runModal(dialog) != kDialogOk || !completion->finished()) return {};
    if (const int skipped = completion->entriesSkipped(); skipped > 0)
        ui().messageBox("Downloading", skippedEntriesText(skipped, settings));
    std::string path = completion->listingPath();
    if (path.empty()) tellListingNotOpened();
    return path;
}

std::string skippedEntriesText(int skipped, const DownloadSettings& settings) {
    const auto minutes =
        std::chrono::duration_cast<std::chrono::minutes>(settings.openingDeadline).count();
    return std::to_string(skipped) + " attachment(s) of this listing were not downloaded: one " +
           "listing brings at most " + std::to_string(settings.mostEntries) + " attachments and " +
           std::to_string(settings.mostBytes >> 20) + " MB within " + std::to_string(minutes) +
           " minutes.";
}

CDownloadingDlg::CDownloadingDlg(std::shared_ptr<DownloadCompletion> completion, QWidget* parent)
    : QDialog(parent), completion_(std::move(completion)) {
    setTemplateId(this, res::IDD_DOWNLOADING);
    setWindowTitle("Downloading");
    // Modal to the whole program: no second fetch can start and the main window cannot be
    // closed while this one is awaited.
    setWindowModality(Qt::ApplicationModal);

    auto* text = new QLabel("Please wait downloading file(s)....", this);
    setControlId(text, res::IDC_DOWNLOAD_TEXT);
    progress_ = new QProgressBar(this);
    setControlId(progress_, res::IDC_DOWNLOAD_PROGRESS);
    progress_->setRange(0, kRangeEnd);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    auto* cancel = new QPushButton("Cancel", this);
    setControlId(cancel, res::IDCANCEL);
    connect(cancel, &QPushButton::clicked, this, &CDownloadingDlg::onCancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(progress_);
    layout->addLayout(buttons);

    ticks_.setInterval(kTickMilliseconds);
    connect(&ticks_, &QTimer::timeout, this, &CDownloadingDlg::onTick);
}

CDownloadingDlg::~CDownloadingDlg() {
    completion_->clearListener();
}

int CDownloadingDlg::runModalLoop() {
    ticks_.start();
    // The worker's end arrives as a queued call on this thread; the listener is detached before
    // the dialog goes, and a call still queued then is dropped with the dialog.
    completion_->setListener([this] {
        QMetaObject::invokeMethod(
            this, [this] { done(QDialog::Accepted); }, Qt::QueuedConnection);
    });
    exec();
    ticks_.stop();
    completion_->clearListener();
    return cancelled_ ? kDialogCancel : kDialogOk;
}

void CDownloadingDlg::onTick() {
    if (const std::optional<int> done = progressDone(completion_->progress().snapshot())) {
        progress_->setRange(0, kProgressWhole);
        progress_->setValue(*done);
        return;
    }
    const int next = progress_->value() + kStep;
    progress_->setValue(next > kRangeEnd ? 0 : next);
}

void CDownloadingDlg::onCancel() {
    if (cancelled_) return;
    cancelled_ = true;
    completion_->clearListener();
    completion_->cancel();
    ui().messageBox("DL Cancel", "Canceled");
    done(QDialog::Rejected);
}

void CDownloadingDlg::reject() {
    onCancel();
}

}  // namespace tl
