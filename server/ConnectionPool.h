#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/platform/NonCopyable.h"

namespace tl::market {

// A pool of connections to one database: a request borrows one for its whole run. Connection is
// made from the target text (a file path or a connection URI) and tells by reusable() whether it
// may be handed out again; one that broke or was left inside a transaction is dropped instead of
// given back, so the next request opens a fresh one.
template <typename Connection>
class ConnectionPool {
public:
    explicit ConnectionPool(std::string target) : target_(std::move(target)) {}

    class Lease : NonCopyable {
    public:
        Lease(ConnectionPool& owner, std::unique_ptr<Connection> connection)
            : owner_(owner), connection_(std::move(connection)) {}
        ~Lease() { owner_.giveBack(std::move(connection_)); }
        Connection* operator->() { return connection_.get(); }
        Connection& operator*() { return *connection_; }

    private:
        ConnectionPool& owner_;
        std::unique_ptr<Connection> connection_;
    };

    Lease borrow() {
        {
            std::lock_guard lock(mutex_);
            if (!idle_.empty()) {
                auto connection = std::move(idle_.back());
                idle_.pop_back();
                return Lease(*this, std::move(connection));
            }
        }
        return Lease(*this, std::make_unique<Connection>(target_));
    }

private:
    void giveBack(std::unique_ptr<Connection> connection) {
        if (!connection || !connection->reusable()) return;
        std::lock_guard lock(mutex_);
        idle_.push_back(std::move(connection));
    }

    std::string target_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Connection>> idle_;
};

}  // namespace tl::market
