#include "core/peer/ServingPool.h"

#include <sys/socket.h>

#include <utility>

namespace tl {

ServingPool::ServingPool(int workers, int perAddress, Serve serve, std::function<void()> freed)
    : workers_(workers),
      perAddress_(perAddress),
      serve_(std::move(serve)),
      freed_(std::move(freed)) {
    threads_.reserve(static_cast<std::size_t>(workers));
    for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
}

ServingPool::~ServingPool() {
    stop();
}

bool ServingPool::tryTake(Socket& connection, std::uint32_t address, const std::string& name) {
    {
        std::lock_guard lock(mutex_);
        int& fromAddress = perAddressBusy_[address];
        if (stopping_ || busy_ >= workers_ || fromAddress >= perAddress_) {
            if (fromAddress == 0) perAddressBusy_.erase(address);
            return false;
        }
        ++busy_;
        ++fromAddress;
        jobs_.push_back(Job{std::move(connection), address, name});
    }
    jobArrived_.notify_one();
    return true;
}

void ServingPool::stop() {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ && threads_.empty()) return;
        stopping_ = true;
        for (const int fd : inService_) ::shutdown(fd, SHUT_RDWR);
        jobs_.clear();
    }
    jobArrived_.notify_all();
    for (std::thread& thread : threads_) thread.join();
    threads_.clear();
}

void ServingPool::work() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            jobArrived_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (stopping_) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
            inService_.insert(job.connection.fd());
        }
        serveJob(job);
        freed_();
    }
}

void ServingPool::serveJob(Job& job) {
    const int fd = job.connection.fd();
    serve_(job.connection, job.address, job.name);
    std::lock_guard lock(mutex_);
    // The socket stays open until it has left the set, so stop() never cuts a reused number.
    inService_.erase(fd);
    job.connection.close();
    --busy_;
    if (--perAddressBusy_[job.address] == 0) perAddressBusy_.erase(job.address);
}

}  // namespace tl
