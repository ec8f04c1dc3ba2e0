#include "gui/listings/ListingFilesSending.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThreadPool>

#include <atomic>
#include <memory>
#include <utility>

#include "core/platform/Ui.h"

namespace tl {
namespace {

// The one worker of the sends; it goes with the application, which abandons a send in flight.
struct Sender {
    QThreadPool* pool = nullptr;
    std::shared_ptr<std::atomic<bool>> abandon = std::make_shared<std::atomic<bool>>(false);
    int unreported = 0;
};

Sender& sends() {
    static Sender one;
    if (!one.pool) {
        one.pool = new QThreadPool(QCoreApplication::instance());
        one.pool->setMaxThreadCount(1);
        QObject::connect(one.pool, &QObject::destroyed, [] { one.pool = nullptr; });
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                         [abandon = one.abandon] { *abandon = true; });
    }
    return one;
}

}  // namespace

void sendListingFilesInBackground(const std::string& productId,
                                  std::function<void(KeepResult)> done) {
    Sender& one = sends();
    QThreadPool* pool = one.pool;
    ++one.unreported;
    pool->start([pool, productId, done = std::move(done), abandon = one.abandon] {
        const KeepOutcome outcome = sendListingFiles(productId, abandon.get());
        // Reported on the windows' thread; dropped when the pool has gone meanwhile.
        QMetaObject::invokeMethod(
            pool,
            [productId, outcome, done] {
                --sends().unreported;
                if (const std::optional<KeepOutcomeBox> box = keepOutcomeBox(productId, outcome))
                    ui().messageBox(box->caption, box->text);
                if (done) done(outcome.result);
            },
            Qt::QueuedConnection);
    });
}

bool waitForListingFilesSent(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (sends().unreported > 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return sends().unreported == 0;
}

}  // namespace tl
