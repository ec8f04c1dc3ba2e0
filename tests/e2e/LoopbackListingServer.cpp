#include "LoopbackListingServer.h"

#include "core/peer/CServerThread.h"

namespace tl::test {

LoopbackListingServer::LoopbackListingServer() {
    CServerThread::Settings settings;
    settings.port = 0;
    settings.bindAddress = "127.0.0.1";
    server_ = std::make_unique<CServerThread>(settings);
    if (!server_->start()) server_.reset();
}

LoopbackListingServer::~LoopbackListingServer() = default;

int LoopbackListingServer::port() const {
    return server_ ? server_->port() : 0;
}

}  // namespace tl::test
