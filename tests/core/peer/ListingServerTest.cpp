#include <gtest/gtest.h>

#include <sys/socket.h>

#include "core/peer/CServerThread.h"
#include "core/peer/SocketIo.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using namespace std::string_literals;
using std::chrono::milliseconds;

constexpr milliseconds kPatience{5000};  // how long a test waits before calling the server hung

SteadyTime patienceDeadline() {
    return std::chrono::steady_clock::now() + kPatience;
}

// What a requester saw on one connection: every byte until the server closed it.
struct Seen {
    std::string bytes;
    bool closed = false;  // false: the test gave up waiting
};

Seen readUntilClosed(const Socket& connection) {
    Seen seen;
    char buffer[65536];
    const SteadyTime deadline = patienceDeadline();
    for (;;) {
        const long got = receiveSome(connection.fd(), buffer, sizeof buffer, deadline);
        if (got <= 0) {
            // A reset counts as closed too; only running out of patience does not.
            seen.closed = got == 0 || std::chrono::steady_clock::now() < deadline;
            return seen;
        }
        seen.bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

// True when nothing arrives on the connection for a while.
bool staysQuiet(const Socket& connection, milliseconds wait) {
    char byte;
    return receiveSome(connection.fd(), &byte, 1, std::chrono::steady_clock::now() + wait) < 0;
}

class ListingServerTest : public ::testing::Test {
protected:
    // The usual request time is longer than the tests' patience, so a server that waits for
    // a requester where it should not shows as a connection that is never closed.
    explicit ListingServerTest(milliseconds requestTimeout = CServerThread::kRequestTimeout)
        : server(CServerThread::Settings{0, "127.0.0.1", requestTimeout, std::nullopt}) {}

    void SetUp() override { ASSERT_TRUE(server.start()); }

    Socket connect() {
        Socket connection = connectTo("127.0.0.1", server.port(), kPatience);
        EXPECT_TRUE(connection.valid());
        return connection;
    }
    Seen exchange(const std::string& request) {
        Socket connection = connect();
        EXPECT_TRUE(sendAll(connection.fd(), request, kPatience));
        return readUntilClosed(connection);
    }
    Seen fetch(const std::string& name) { return exchange(encodeFileRequest(name)); }
    void expectNoReply(const std::string& request) {
        const Seen seen = exchange(request);
        EXPECT_TRUE(seen.closed);
        EXPECT_EQ(seen.bytes, "") << "for a request of " << request.size() << " bytes";
    }

    test::TempProgramDirectory directory;
    ScriptedUi ui;
    CServerThread server;
};

TEST_F(ListingServerTest, ServesAListingAsStoredWithItsLength) {
    const std::string stored = "\x1f\x00\xdd\xfd scrambled listing bytes\r\n"s;
    directory.write("products/12345.xml", stored);
    const Seen seen = fetch("12345.xml");
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(seen.bytes, encodeLength(static_cast<std::uint32_t>(stored.size())) + stored);
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(ListingServerTest, ZeroLengthExactBlockOneOverABlockAndALargeFile) {
    directory.write("products/empty.xml", "");
    directory.write("products/block.bin", std::string(4096, 'a'));
    directory.write("products/over.bin", std::string(4096, 'b') + "c");
    EXPECT_EQ(fetch("empty.xml").bytes, "\x00\x00\x00\x00"s);
    EXPECT_EQ(fetch("block.bin").bytes, "\x00\x10\x00\x00"s + std::string(4096, 'a'));
    EXPECT_EQ(fetch("over.bin").bytes, "\x01\x10\x00\x00"s + std::string(4096, 'b') + "c");
    std::string large(9 << 20, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>((i * 7919) >> 3);
    directory.write("products/large.bin", large);
    EXPECT_EQ(fetch("large.bin").bytes, encodeReplyLength(large.size()) + large);
}

TEST_F(ListingServerTest, NameEndsAtTheFirstEndOrStopByte) {
    directory.write("products/12345.xml", "listing");
    const std::string reply = encodeLength(7) + "listing";
    EXPECT_EQ(exchange("\x0F\x00\x00\x00"s + "12345.xml\xFDjunk\xDD").bytes, reply);
    EXPECT_EQ(exchange("\x0F\x00\x00\x00"s + "12345.xml\xDDjunk\xDD").bytes, reply);
    EXPECT_EQ(exchange("\x09\x00\x00\x00"s + "12345.xml").bytes, reply);  // no end byte at all
}

TEST_F(ListingServerTest, BackslashReachesASubdirectoryOfTheProducts) {
    directory.write("products/12345/photo one.jpg", "jpeg bytes");
    EXPECT_EQ(fetch(attachmentRequestName("12345/photo one.jpg")).bytes,
              encodeLength(10) + "jpeg bytes");
}

TEST_F(ListingServerTest, MissingFilesAndFoldersGetNoReply) {
    directory.write("products/12345/photo.jpg", "jpeg");
    expectNoReply(encodeFileRequest("99999.xml"));
    expectNoReply(encodeFileRequest("12345"));  // a folder is no file to serve
    expectNoReply(encodeFileRequest("12345\\missing.jpg"));
}

TEST_F(ListingServerTest, NamesThatLeaveTheProductsFolderGetNoReply) {
    directory.write("secret.txt", "not for others");
    directory.write("users/ann.xml", "<user/>");
    directory.write("products/12345/photo.jpg", "jpeg");
    for (const std::string& name : std::vector<std::string>{
             "..\\secret.txt", "../secret.txt", "..\\users\\ann.xml", "12345\\..\\..\\secret.txt",
             "12345/../../secret.txt", "/etc/passwd", "\\etc\\passwd", "C:\\secret.txt",
             "C:secret.txt", "", ".\\12345\\photo.jpg", directory.path() + "secret.txt"})
        expectNoReply(encodeFileRequest(name));
    expectNoReply("\x00\x00\x00\x00"s);  // N = 0: no name at all
    expectNoReply("\x0B\x00\x00\x00"s + "12345\x00.xml\xDD"s);
    EXPECT_EQ(fetch("12345\\photo.jpg").bytes, encodeLength(4) + "jpeg");
}

TEST_F(ListingServerTest, RequestsLongerThanTheLargestNameAreClosedWithoutReply) {
    directory.write("products/12345.xml", "listing");
    // The name ends at its end byte; what follows only makes N larger.
    const auto paddedTo = [](std::uint32_t n) {
        return encodeLength(n) + "12345.xml\xDD" + std::string(n - 10, 'p');
    };
    EXPECT_EQ(exchange(paddedTo(kLargestRequestLength)).bytes, encodeLength(7) + "listing");
    expectNoReply(paddedTo(kLargestRequestLength + 1));
    // Only the length is sent: the server must not wait for four gigabytes.
    expectNoReply("\xFF\xFF\xFF\xFF"s);
}

TEST_F(ListingServerTest, RequesterThatLeavesEarlyDoesNotStopTheServer) {
    directory.write("products/big.bin", std::string(8 << 20, 'q'));
    directory.write("products/12345.xml", "listing");
    {
        Socket leaving = connect();
        ASSERT_TRUE(sendAll(leaving.fd(), encodeFileRequest("big.bin"), kPatience));
        ASSERT_TRUE(receiveExactly(leaving.fd(), 4, patienceDeadline()));
    }  // closed with most of the reply unread
    {
        // Asks, then leaves before any reply byte: the server's sends meet a closed peer.
        Socket asking = connect();
        ASSERT_TRUE(sendAll(asking.fd(), encodeFileRequest("big.bin"), kPatience));
    }
    {
        Socket silent = connect();
        ::shutdown(silent.fd(), SHUT_RDWR);  // gone before asking anything
    }
    EXPECT_EQ(fetch("12345.xml").bytes, encodeLength(7) + "listing");
}

TEST_F(ListingServerTest, RequestersAreServedOneAfterTheOther) {
    directory.write("products/1.xml", "first");
    directory.write("products/2.xml", "second");
    Socket first = connect();
    ASSERT_TRUE(sendAll(first.fd(), "\x06\x00\x00\x00"s + "1.", kPatience));  // half a request
    Socket second = connect();
    ASSERT_TRUE(sendAll(second.fd(), encodeFileRequest("2.xml"), kPatience));
    // The second waits in the backlog while the first connection is being served.
    EXPECT_TRUE(staysQuiet(second, milliseconds(200)));
    ASSERT_TRUE(sendAll(first.fd(), "xml\xDD", kPatience));
    EXPECT_EQ(readUntilClosed(first).bytes, encodeLength(5) + "first");
    EXPECT_EQ(readUntilClosed(second).bytes, encodeLength(6) + "second");
}

TEST_F(ListingServerTest, StopCutsTheConnectionBeingServedAndClosesThePort) {
    Socket silent = connect();
    ASSERT_TRUE(sendAll(silent.fd(), "\x06\x00"s, kPatience));
    std::this_thread::sleep_for(milliseconds(50));  // let the server take the connection
    const int port = server.port();
    server.stop();
    const Seen seen = readUntilClosed(silent);
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(seen.bytes, "");
    EXPECT_FALSE(connectTo("127.0.0.1", port, kPatience).valid());
}

TEST_F(ListingServerTest, SecondServerOnABusyPortTellsTheMemberAndTheFirstGoesOn) {
    directory.write("products/12345.xml", "listing");
    CServerThread second(CServerThread::Settings{server.port(), "127.0.0.1",
                                                 CServerThread::kRequestTimeout, std::nullopt});
    EXPECT_FALSE(second.start());
    EXPECT_EQ(ui.boxes(), (std::vector<ScriptedUi::Box>{{"", "SERVER PORT NOT STARTED"}}));
    EXPECT_EQ(fetch("12345.xml").bytes, encodeLength(7) + "listing");
}

TEST_F(ListingServerTest, AnAddressThatIsNotThisMachinesOwnCannotBeOpened) {
    CServerThread elsewhere(
        CServerThread::Settings{0, "not an address", CServerThread::kRequestTimeout, std::nullopt});
    EXPECT_FALSE(elsewhere.start());
    EXPECT_EQ(ui.boxes(), (std::vector<ScriptedUi::Box>{{"", "SERVER PORT NOT STARTED"}}));
}

// A requester that never sends its request, or stops half-way, is given up after the request
// time so that the next requester is served.
class SilentRequesterTest : public ListingServerTest {
protected:
    SilentRequesterTest() : ListingServerTest(milliseconds(300)) {}
};

TEST_F(SilentRequesterTest, IsClosedWithoutReplyAndTheNextRequesterIsServed) {
    directory.write("products/12345.xml", "listing");
    Socket silent = connect();
    Socket stalled = connect();
    ASSERT_TRUE(sendAll(stalled.fd(), "\x0A\x00\x00\x00"s + "123", kPatience));
    const Seen next = fetch("12345.xml");
    EXPECT_TRUE(next.closed);
    EXPECT_EQ(next.bytes, encodeLength(7) + "listing");
    for (const Socket* given : {&silent, &stalled}) {
        const Seen seen = readUntilClosed(*given);
        EXPECT_TRUE(seen.closed);
        EXPECT_EQ(seen.bytes, "");
    }
}

TEST_F(SilentRequesterTest, ARequestTrickledInSlowerThanTheRequestTimeIsGivenUp) {
    directory.write("products/12345.xml", "listing");
    Socket trickling = connect();
    // Never silent for the whole request time, yet the request takes longer than it.
    for (const char byte : encodeFileRequest("12345.xml")) {
        if (!sendAll(trickling.fd(), std::string(1, byte), kPatience)) break;
        std::this_thread::sleep_for(milliseconds(60));
    }
    const Seen seen = readUntilClosed(trickling);
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(seen.bytes, "");
}

TEST_F(SilentRequesterTest, ARequesterThatStopsReadingIsGivenUp) {
    directory.write("products/big.bin", std::string(64 << 20, 'r'));
    directory.write("products/12345.xml", "listing");
    Socket stopsReading = connect();
    ASSERT_TRUE(sendAll(stopsReading.fd(), encodeFileRequest("big.bin"), kPatience));
    EXPECT_EQ(fetch("12345.xml").bytes, encodeLength(7) + "listing");
}

}  // namespace
}  // namespace tl
