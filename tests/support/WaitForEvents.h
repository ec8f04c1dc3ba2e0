#pragma once

#include <QCoreApplication>
#include <QEventLoop>

#include "support/WaitFor.h"

namespace tl::test {

// waitFor for GUI tests: between looks the event loop runs, so that signals, replies and
// deferred deletions reach the objects the predicate asks about.
template <class Predicate>
bool waitForEvents(Predicate&& done, std::chrono::milliseconds timeout,
                   std::chrono::milliseconds step = std::chrono::milliseconds(5)) {
    return waitFor(done, timeout, [step] {
        QCoreApplication::processEvents(QEventLoop::AllEvents, static_cast<int>(step.count()));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        std::this_thread::sleep_for(step);
    });
}

}  // namespace tl::test
