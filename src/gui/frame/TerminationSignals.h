#pragma once

#include <QObject>
#include <csignal>
#include <functional>

class QSocketNotifier;

namespace tl {

// Turns the signals a desktop session sends at log-out or shutdown (SIGTERM, SIGINT, SIGHUP)
// into a call on the user-interface thread's event loop. The handler only writes the signal's
// number to a pipe; the call is made when the event loop reads it. One object at a time; the
// handlers from before come back when it goes.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(int signal)>;

    explicit TerminationSignals(Handler handler, QObject* parent = nullptr);
    ~TerminationSignals() override;

    static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

private:
    void readSignals();

    Handler handler_;
    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction previous_[std::size(kSignals)] = {};
};

}  // namespace tl
