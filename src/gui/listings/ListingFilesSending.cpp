#include "gui/listings/ListingFilesSending.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QThreadPool>

#include <atomic>
#include <memory>
#include <utility>

#include "core/platform/Ui.h"

namespace tl {
namespace {

// The one worker of the sends; it goes with the application, which abandons a send in flight.
struct Sends {
    QThreadPool* pool = nullptr;
    std::shared_ptr<std::atomic<bool>> abandon = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<int>> running = std::make_shared<std::atomic<int>>(0);
};

Sends& sends() {
    static Sends one;
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

void sendListingFilesInBackground(const std::string& productId, QObject* window,
                                  std::function<void(KeepResult)> done) {
    Sends& one = sends();
    ++*one.running;
    QThreadPool* pool = one.pool;
    one.pool->start([productId, pool, window = QPointer<QObject>(window), done = std::move(done),
                     abandon = one.abandon, running = one.running] {
        const KeepOutcome outcome = sendListingFiles(productId, abandon.get());
        // Reported on the windows' thread (the pool lives there), and only while the window is.
        QMetaObject::invokeMethod(
            pool,
            [productId, outcome, window, done] {
                if (!window) return;
                if (const std::optional<KeepOutcomeBox> box = keepOutcomeBox(productId, outcome))
                    ui().messageBox(box->caption, box->text);
                if (done) done(outcome.result);
            },
            Qt::QueuedConnection);
        --*running;
    });
}

bool waitForListingFilesSent(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (*sends().running > 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();  // the last report
    return *sends().running == 0;
}

}  // namespace tl
