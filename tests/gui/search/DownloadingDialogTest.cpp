#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <thread>

#include "core/listings/FileScramble.h"
#include "gui/search/CDownloadingDlg.h"
#include "gui/widgets/Controls.h"
#include "ids_app.h"
#include "ids_peer.h"
#include "support/FakeSeller.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using namespace std::chrono_literals;
using Boxes = std::vector<ScriptedUi::Box>;

DownloadSettings quickSettings(int port) {
    DownloadSettings settings;
    settings.port = port;
    settings.localAddress.clear();
    settings.connectTimeout = settings.listingTimeout = settings.attachmentTimeout = 2s;
    return settings;
}

// Runs the "Downloading" dialog as the member would; with cancel, presses "Cancel" at once.
ScriptedUi::ModalHandler member(bool cancel) {
    return [cancel](ModalDialog& modal) {
        auto& dialog = dynamic_cast<CDownloadingDlg&>(modal);
        if (cancel)
            QTimer::singleShot(0, &dialog, [&dialog] {
                findControl<QPushButton>(&dialog, res::IDCANCEL)->click();
            });
        return dialog.runModalLoop();
    };
}

struct DownloadingDialogTest : ::testing::Test {
    test::TempProgramDirectory home;
    ScriptedUi ui;
    test::ScopedServerHost host{test::deadHost()};
};

TEST_F(DownloadingDialogTest, ShowsActivityFromZeroToFiftyInStepsOfFiveThenStartsOver) {
    CDownloadingDlg dialog(std::make_shared<DownloadCompletion>());
    EXPECT_EQ(dialog.windowTitle(), "Downloading");
    EXPECT_EQ(findControl<QLabel>(&dialog, res::IDC_DOWNLOAD_TEXT)->text(),
              "Please wait downloading file(s)....");
    auto* progress = findControl<QProgressBar>(&dialog, res::IDC_DOWNLOAD_PROGRESS);
    const std::pair<int, int> ticksAndValue[] = {{0, 0}, {1, 5}, {10, 50}, {11, 0}, {12, 5}};
    int ticked = 0;
    for (const auto& [ticks, value] : ticksAndValue) {
        for (; ticked < ticks; ++ticked) dialog.onTick();
        EXPECT_EQ(progress->value(), value) << ticks << " ticks";
    }
}

TEST_F(DownloadingDialogTest, OnceTheFilesAreKnownTheBarShowsHowFarTheFetchHasCome) {
    using Report = std::function<void(FetchProgress&)>;
    const auto settled = [](std::uint64_t bytes) {
        return [bytes](FetchProgress& progress) { progress.fileSettled(bytes); };
    };
    const auto expect = [](int files, std::uint64_t bytes) {
        return [=](FetchProgress& progress) { progress.expect(files, bytes); };
    };
    struct Step {
        Report report;
        int maximum;
        int value;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"by bytes",
         {{[](FetchProgress&) {}, 50, 5},
          {expect(3, 1000), 1000, 0},
          {settled(100), 1000, 100},
          {settled(800), 1000, 900},
          {settled(0), 1000, 1000}}},
        {"by files, the sizes unknown",
         {{expect(4, 0), 1000, 0}, {settled(10), 1000, 250}, {settled(10), 1000, 500}}},
        {"more bytes than expected",
         {{expect(2, 100), 1000, 0}, {settled(500), 1000, 999}, {settled(0), 1000, 1000}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto completion = std::make_shared<DownloadCompletion>();
        CDownloadingDlg dialog(completion);
        auto* bar = findControl<QProgressBar>(&dialog, res::IDC_DOWNLOAD_PROGRESS);
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            c.steps[i].report(completion->progress());
            dialog.onTick();
            EXPECT_EQ(std::pair(bar->maximum(), bar->value()),
                      std::pair(c.steps[i].maximum, c.steps[i].value))
                << "step " << i;
        }
    }
}

TEST_F(DownloadingDialogTest, ACancelledFetchNeverEndsTheWaitOfTheNextOne) {
    // The first seller keeps the first fetch waiting until its timeout, well inside the second.
    test::FakeSeller first(test::silent());
    DownloadSettings firstSettings = quickSettings(first.port());
    firstSettings.listingTimeout = 500ms;
    ui.onModal(member(true));
    EXPECT_EQ(downloadListing("111", "127.0.0.1", firstSettings), "");
    EXPECT_EQ(ui.boxes(), (Boxes{{"DL Cancel", "Canceled"}}));

    std::string listing = "<product><attachment></attachment></product>";
    scrambleBytes(listing);
    test::FakeSeller second([&listing](int fd, const std::string& name) {
        std::this_thread::sleep_for(1500ms);
        test::serveFiles({{"222.xml", listing}})(fd, name);
    });
    ui.onModal(member(false));
    EXPECT_EQ(downloadListing("222", "127.0.0.1", quickSettings(second.port())),
              home.path() + "downloads/222.xml");
    EXPECT_EQ(home.read("downloads/222.xml"), listing);
    EXPECT_EQ(ui.boxes(), (Boxes{{"DL Cancel", "Canceled"}}));
}

TEST_F(DownloadingDialogTest, TheMemberIsToldOfAttachmentsLeftOutByTheOpeningsBounds) {
    std::string listing =
        "<product><attachment><attach>333/a.jpg</attach><attach>333/b.jpg</attach>"
        "<attach>333/c.jpg</attach></attachment></product>";
    scrambleBytes(listing);
    test::FakeSeller seller(test::serveFiles(
        {{"333.xml", listing}, {"333\\a.jpg", "a"}, {"333\\b.jpg", "b"}, {"333\\c.jpg", "c"}}));
    DownloadSettings settings = quickSettings(seller.port());
    settings.mostEntries = 1;
    ui.onModal(member(false));
    EXPECT_EQ(downloadListing("333", "127.0.0.1", settings), home.path() + "downloads/333.xml");
    EXPECT_EQ(ui.boxes(), (Boxes{{"Downloading", skippedEntriesText(2, settings)}}));
    EXPECT_EQ(skippedEntriesText(2, DownloadSettings()),
              "2 attachment(s) of this listing were not downloaded: one listing brings at most 32 "
              "attachments and 256 MB within 15 minutes.");
}

// Neither the seller nor the marketplace gives the listing: the member is told so and why,
// rather than the box just closing.
TEST_F(DownloadingDialogTest, AListingNeitherTheSellerNorTheMarketplaceGivesIsReported) {
    const int nobody = test::deadPort();
    ui.onModal(member(false));
    EXPECT_EQ(downloadListing("333", "127.0.0.1", quickSettings(nobody)), "");
    EXPECT_EQ(ui.boxes(),
              (Boxes{{"Listing Not Opened",
                      "The listing could not be opened: the seller's computer did not send it, "
                      "and the marketplace has no copy of it. The seller may be offline, or the "
                      "listing may have been removed."}}));
    EXPECT_FALSE(home.exists("downloads/333.xml"));
}

}  // namespace
}  // namespace tl
