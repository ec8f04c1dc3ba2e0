#pragma once

#include <httplib.h>

#include <chrono>
#include <cstddef>
#include <string>

#include "ConnectionFront.h"

namespace tl::market {

// The request reader's view of a connection for one request: the bytes the front already read
// come first, then the socket. Reads end at a deadline for the whole request and after a bound
// on its bytes; writes end when the reply has not gone out within its time-out, so neither a
// trickling sender nor a reader that does not read holds a worker for long.
class ConnectionStream : public httplib::Stream {
public:
    ConnectionStream(ClientConnection& connection, FrontClock::time_point readDeadline,
                     std::chrono::milliseconds writeTimeout, std::size_t maxReadBytes);
    // Leaves the bytes not read in the connection's buffer, for the next request.
    ~ConnectionStream() override;

    // Ends the connection's sending side, so the requester sees the reply end, then takes what
    // it still sends, within the read bounds: closing the connection afterwards resets nothing
    // the requester has yet to read (as closing with bytes unread would).
    void endAndDrain();

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, std::size_t size) override;
    ssize_t write(const char* ptr, std::size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override;

private:
    // Waits for the events on the socket until the deadline; false when it passed.
    bool await(short events, FrontClock::time_point deadline) const;
    // Refills the buffer from the socket: the bytes read, 0 at the end, -1 on failure.
    ssize_t fill();

    ClientConnection& connection_;
    std::size_t position_ = 0;  // in connection_.buffer
    const FrontClock::time_point readDeadline_;
    const std::chrono::milliseconds writeTimeout_;
    FrontClock::time_point writeDeadline_{};  // set by the first write
    bool writing_ = false;
    std::size_t readBytesLeft_;
};

}  // namespace tl::market
