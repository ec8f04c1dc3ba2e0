#include "gui/frame/TerminationSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>

namespace tl {
namespace {

std::atomic<int> signalPipe{-1};

// Runs inside the signal: nothing but an async-signal-safe write, errno left as it was.
extern "C" void writeSignalNumber(int signal) {
    const int savedErrno = errno;
    const int fd = signalPipe.load();
    if (fd >= 0) {
        const unsigned char number = static_cast<unsigned char>(signal);
        [[maybe_unused]] const ssize_t written = ::write(fd, &number, 1);
    }
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {
    if (::pipe2(pipe_, O_NONBLOCK | O_CLOEXEC) != 0) return;
    signalPipe.store(pipe_[1]);
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readSignals);
    struct sigaction action {};
    action.sa_handler = writeSignalNumber;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &action, &previous_[i]);
}

TerminationSignals::~TerminationSignals() {
    if (pipe_[0] < 0) return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &previous_[i], nullptr);
    signalPipe.store(-1);
    delete notifier_;
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void TerminationSignals::readSignals() {
    unsigned char numbers[16];
    ssize_t count = 0;
    while ((count = ::read(pipe_[0], numbers, sizeof numbers)) > 0)
        for (ssize_t i = 0; i < count; ++i) handler_(numbers[i]);
}

}  // namespace tl
