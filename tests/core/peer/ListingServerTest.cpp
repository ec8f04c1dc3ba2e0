#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>

#include "core/peer/CServerThread.h"
#include "core/peer/SocketIo.h"
#include "support/ScopedSettings.h"
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

// How a long reply ended: the bytes counted, not kept, and whether the server closed cleanly.
struct Counted {
    std::uint64_t bytes = 0;
    std::string head;         // the first bytes
    bool cleanClose = false;  // false: reset, or the test gave up waiting
    bool ended = false;       // closed or reset before the test gave up
};

Counted countUntilClosed(const Socket& connection, milliseconds patience = kPatience) {
    Counted counted;
    std::vector<char> buffer(1 << 20);
    const SteadyTime deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        const long got = receiveSome(connection.fd(), buffer.data(), buffer.size(), deadline);
        if (got <= 0) {
            counted.cleanClose = got == 0;
            counted.ended = got == 0 || std::chrono::steady_clock::now() < deadline;
            return counted;
        }
        if (counted.head.size() < 8)
            counted.head.append(buffer.data(), std::min<std::size_t>(got, 8 - counted.head.size()));
        counted.bytes += static_cast<std::uint64_t>(got);
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
    explicit ListingServerTest(milliseconds requestTimeout = CServerThread::kRequestTimeout,
                               ListingServerLimits limits = {})
        : server(CServerThread::Settings{0, "127.0.0.1", requestTimeout, std::nullopt}, limits) {}

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
    Seen exchangeFrom(const std::string& local, const std::string& request) {
        Socket connection = connectFrom(local);
        EXPECT_TRUE(sendAll(connection.fd(), request, kPatience));
        return readUntilClosed(connection);
    }
    Seen fetch(const std::string& name) { return exchange(encodeFileRequest(name)); }
    void expectNoReply(const std::string& request) {
        const Seen seen = exchange(request);
        EXPECT_TRUE(seen.closed);
        EXPECT_EQ(seen.bytes, "") << "for a request of " << request.size() << " bytes";
    }

    Socket connectFrom(const std::string& local) {
        Socket connection = connectTo("127.0.0.1", server.port(), kPatience, local);
        EXPECT_TRUE(connection.valid()) << "from " << local;
        return connection;
    }
    // A connection from local that asked for name and got the reply length: being served.
    Socket servedFrom(const std::string& local, const std::string& name) {
        Socket connection = connectFrom(local);
        EXPECT_TRUE(sendAll(connection.fd(), encodeFileRequest(name), kPatience));
        EXPECT_TRUE(receiveExactly(connection.fd(), 4, patienceDeadline())) << "from " << local;
        return connection;
    }
    // A file of the products folder that takes no room on disk: every byte is zero.
    void writeSparse(const std::string& relative, std::uint64_t size) {
        directory.write(relative, "");
        ASSERT_EQ(::truncate((directory.path() + relative).c_str(), static_cast<off_t>(size)), 0);
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
    directory.write("products/10.xml", "");
    directory.write("products/block.bin", std::string(4096, 'a'));
    directory.write("products/over.bin", std::string(4096, 'b') + "c");
    EXPECT_EQ(fetch("10.xml").bytes, "\x00\x00\x00\x00"s);
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

TEST_F(ListingServerTest, ARequesterIsServedWhileIdleConnectionsAndSlowReadersAreHeldOpen) {
    test::ScopedOpenFileLimit fileLimit;
    directory.write("products/12345.xml", "listing");
    writeSparse("products/huge.bin", 1ull << 30);
    // Each idle connection costs a descriptor here and at most one in the server.
    const int idleCount =
        static_cast<int>(std::min<rlim_t>(1000, (test::ScopedOpenFileLimit::current() - 100) / 2));
    ASSERT_GE(idleCount, 400) << "too few open files allowed for this test";
    std::vector<Socket> held;
    for (int i = 0; i < idleCount; ++i) {
        held.push_back(connectTo("127.0.0.1", server.port(), milliseconds(2000),
                                 "127.0.1." + std::to_string(1 + i % 100)));
        ASSERT_TRUE(held.back().valid()) << "idle connection " << i << " not taken";
    }
    // Slow readers from addresses of their own: each asks for a large file and reads nothing.
    for (int i = 0; i < 10; ++i)
        held.push_back(servedFrom("127.0.2." + std::to_string(i + 1), "huge.bin"));
    const auto start = std::chrono::steady_clock::now();
    const Seen seen = fetch("12345.xml");
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(seen.bytes, encodeLength(7) + "listing");
    EXPECT_LT(std::chrono::steady_clock::now() - start, kPatience);
}

TEST_F(ListingServerTest, RepliesEndCleanlyWhateverTheRequesterSentBeyondItsRequest) {
    writeSparse("products/big.bin", 64ull << 20);
    for (const std::string& extra : {"\n"s, std::string(1000, 'x'), encodeFileRequest("big.bin")}) {
        Socket connection = connect();
        ASSERT_TRUE(sendAll(connection.fd(), encodeFileRequest("big.bin") + extra, kPatience));
        const Counted counted = countUntilClosed(connection);
        EXPECT_TRUE(counted.cleanClose) << "after " << extra.size() << " extra bytes";
        EXPECT_EQ(counted.bytes, 4 + (64ull << 20)) << "after " << extra.size() << " extra bytes";
        EXPECT_EQ(counted.head.substr(0, 4), encodeLength(64u << 20));
    }
}

TEST_F(ListingServerTest, OnlyListingsOfTheFolderTopAreServedOfItsDocuments) {
    // The preview with its photo copies, the remembered choices and a draft an earlier version
    // left are the member's.
    for (const char* name :
         {"newproduct.xml", "annRemembered.xml", ".xml", "12a.xml", "X.XML", "temp/a.jpg"})
        directory.write(std::string("products/") + name, "private");
    std::filesystem::create_symlink("newproduct.xml", directory.path() + "products/13.xml");
    std::filesystem::create_symlink("temp/a.jpg", directory.path() + "products/b.jpg");
    directory.write("products/12345.xml", "listing");
    directory.write("products/12345/notes.xml", "attached");
    for (const char* name : {"newproduct.xml", "annRemembered.xml", ".xml", "12a.xml", "X.XML",
                             "13.xml", "NEWPRODUCT.XML", "temp\\a.jpg", "b.jpg"})
        expectNoReply(encodeFileRequest(name));
    EXPECT_EQ(fetch("12345.xml").bytes, encodeLength(7) + "listing");
    EXPECT_EQ(fetch("12345\\notes.xml").bytes, encodeLength(8) + "attached");
}

TEST_F(ListingServerTest, SymbolicLinksServeOnlyFilesInsideTheProductsFolder) {
    directory.write("secret.txt", "not for others");
    directory.write("private/notes.txt", "mine");
    directory.write("products/12345/photo.jpg", "jpeg");
    namespace fs = std::filesystem;
    const fs::path products = directory.path() + "products";
    fs::create_symlink(directory.path() + "secret.txt", products / "out.xml");
    fs::create_symlink("../secret.txt", products / "up.xml");
    fs::create_symlink(directory.path() + "private", products / "elsewhere");
    fs::create_symlink("/etc/passwd", products / "passwd");
    fs::create_symlink("12345/photo.jpg", products / "same.jpg");
    fs::create_symlink(products / "12345", products / "67890");
    for (const char* name : {"out.xml", "up.xml", "elsewhere\\notes.txt", "passwd"})
        expectNoReply(encodeFileRequest(name));
    for (const char* name : {"same.jpg", "67890\\photo.jpg"})
        EXPECT_EQ(fetch(name).bytes, encodeLength(4) + "jpeg") << name;
}

TEST_F(ListingServerTest, FilesOfFourGibibytesOrMoreGetNoReply) {
    // Sparse files: nothing is written to disk, and only the start of a reply is read.
    const struct {
        std::uint64_t size;
        std::string head;  // the reply's first bytes; empty: no reply
    } cases[] = {
        {0xFFFFFFFFull, "\xFF\xFF\xFF\xFF\x00\x00\x00\x00"s},
        {0x100000000ull, ""},
        {0x100000005ull, ""},
    };
    for (const auto& c : cases) {
        writeSparse("products/size.bin", c.size);
        Socket connection = connect();
        ASSERT_TRUE(sendAll(connection.fd(), encodeFileRequest("size.bin"), kPatience));
        std::string head(8, '\0');
        std::size_t filled = 0;
        while (filled < head.size()) {
            const long got = receiveSome(connection.fd(), head.data() + filled,
                                         head.size() - filled, patienceDeadline());
            if (got <= 0) break;
            filled += static_cast<std::size_t>(got);
        }
        head.resize(filled);
        EXPECT_EQ(head, c.head) << "for a file of " << c.size << " bytes";
    }
}

TEST_F(ListingServerTest, ARequesterIsServedWhileAnotherIsHalfWayThroughItsRequest) {
    directory.write("products/1.xml", "first");
    directory.write("products/2.xml", "second");
    Socket first = connect();
    ASSERT_TRUE(sendAll(first.fd(), "\x06\x00\x00\x00"s + "1.", kPatience));  // half a request
    Socket second = connect();
    ASSERT_TRUE(sendAll(second.fd(), encodeFileRequest("2.xml"), kPatience));
    EXPECT_EQ(readUntilClosed(second).bytes, encodeLength(6) + "second");
    ASSERT_TRUE(sendAll(first.fd(), "xml\xDD", kPatience));
    EXPECT_EQ(readUntilClosed(first).bytes, encodeLength(5) + "first");
}

// Three workers, at most two of them for one address, and no room for slow replies beside
// them: a reader that takes nothing keeps its worker.
class ServingLimitsTest : public ListingServerTest {
protected:
    ServingLimitsTest()
        : ListingServerTest(
              CServerThread::kRequestTimeout,
              ListingServerLimits{.workers = 3, .workersPerAddress = 2, .slowReplies = 0}) {}
};

TEST_F(ServingLimitsTest, OneAddressGetsTwoWorkersAndNobodyMoreThanAllThree) {
    writeSparse("products/huge.bin", 1ull << 30);
    directory.write("products/12345.xml", "listing");
    const std::string listing = encodeLength(7) + "listing";
    // Readers that take nothing of a large file each hold their worker.
    Socket a1 = servedFrom("127.0.3.1", "huge.bin");
    Socket a2 = servedFrom("127.0.3.1", "huge.bin");
    Socket a3 = connectFrom("127.0.3.1");
    ASSERT_TRUE(sendAll(a3.fd(), encodeFileRequest("12345.xml"), kPatience));
    EXPECT_TRUE(staysQuiet(a3, milliseconds(300))) << "a third worker for one address";
    // Another address still finds the third worker, then every worker is held.
    EXPECT_EQ(exchangeFrom("127.0.3.2", encodeFileRequest("12345.xml")).bytes, listing);
    Socket b1 = servedFrom("127.0.3.2", "huge.bin");
    Socket c1 = connectFrom("127.0.3.3");
    ASSERT_TRUE(sendAll(c1.fd(), encodeFileRequest("12345.xml"), kPatience));
    EXPECT_TRUE(staysQuiet(c1, milliseconds(300))) << "a fourth worker";
    // A worker set free serves those that waited, once each requester has closed its end.
    a1.close();
    EXPECT_EQ(readUntilClosed(a3).bytes, listing);
    a3.close();
    EXPECT_EQ(readUntilClosed(c1).bytes, listing);
}

// Two workers; a requester must take 256 KiB of its reply every half second.
class TwoWorkersTest : public ListingServerTest {
protected:
    TwoWorkersTest()
        : ListingServerTest(
              CServerThread::kRequestTimeout,
              ListingServerLimits{.workers = 2, .leastTaken = {256 * 1024, milliseconds(500)}}) {}
};

TEST_F(TwoWorkersTest, NoWorkerIsHeldByRequestersThatKeepTheirConnectionOrReadSlowly) {
    directory.write("products/12345.xml", "listing");
    writeSparse("products/huge.bin", 1ull << 30);
    const struct {
        const char* what;
        const char* file;
        bool readReply;
    } holders[] = {{"keeps the connection open after the whole reply", "12345.xml", true},
                   {"reads nothing of a large file", "huge.bin", false}};
    for (const auto& holder : holders) {
        std::vector<Socket> held;
        for (int i = 0; i < 6; ++i) {
            held.push_back(servedFrom("127.0.6." + std::to_string(1 + i / 2), holder.file));
            if (holder.readReply) {
                EXPECT_TRUE(receiveExactly(held.back().fd(), 7, patienceDeadline()));
            }
        }
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(exchangeFrom("127.0.6.9", encodeFileRequest("12345.xml")).bytes,
                  encodeLength(7) + "listing")
            << "while six requesters each " << holder.what;
        EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(1000)) << holder.what;
    }
}

TEST_F(TwoWorkersTest, AReaderIsJudgedByWhatItTookNotByWhatWasQueuedForIt) {
    writeSparse("products/large.bin", 8 << 20);
    Socket reader = connect();
    const int buffer = 64 * 1024;
    ::setsockopt(reader.fd(), SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    ASSERT_TRUE(sendAll(reader.fd(), encodeFileRequest("large.bin"), kPatience));
    // 200 KiB every 100 ms: well above the least rate, far below what loopback carries.
    std::vector<char> piece(200 * 1024);
    std::uint64_t taken = 0;
    bool ended = false;
    for (const SteadyTime deadline = std::chrono::steady_clock::now() + milliseconds(10000);
         !ended && std::chrono::steady_clock::now() < deadline;) {
        for (std::size_t got = 0; got < piece.size();) {
            const long n = ::recv(reader.fd(), piece.data(), piece.size() - got, MSG_DONTWAIT);
            if (n > 0) {
                got += static_cast<std::size_t>(n);
                taken += static_cast<std::uint64_t>(n);
                continue;
            }
            ended = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
            break;
        }
        std::this_thread::sleep_for(milliseconds(100));
    }
    EXPECT_EQ(taken, 4 + (8ull << 20));
}

// At most four connections held before their turn, two of them from one address.
class HeldLimitsTest : public ListingServerTest {
protected:
    HeldLimitsTest()
        : ListingServerTest(CServerThread::kRequestTimeout,
                            ListingServerLimits{.held = 4, .heldPerAddress = 2}) {}
};

TEST_F(HeldLimitsTest, ANewConnectionPushesOutTheOldestItCountsAgainst) {
    directory.write("products/12345.xml", "listing");
    const auto pushedOut = [](const Socket& connection) {
        const Seen seen = readUntilClosed(connection);
        return seen.closed && seen.bytes.empty();
    };
    Socket a1 = connectFrom("127.0.4.1");
    Socket a2 = connectFrom("127.0.4.1");
    Socket a3 = connectFrom("127.0.4.1");
    EXPECT_TRUE(pushedOut(a1)) << "the oldest from the same address";
    Socket b1 = connectFrom("127.0.4.2");
    Socket b2 = connectFrom("127.0.4.2");
    Socket c1 = connectFrom("127.0.4.3");
    EXPECT_TRUE(pushedOut(a2)) << "the oldest of all";
    for (const Socket* kept : {&a3, &b1, &b2, &c1})
        EXPECT_TRUE(staysQuiet(*kept, milliseconds(100)));
    EXPECT_EQ(exchangeFrom("127.0.4.3", encodeFileRequest("12345.xml")).bytes,
              encodeLength(7) + "listing");
}

TEST_F(ListingServerTest, StopPromptlyCutsEveryConnectionOpenAndClosesThePort) {
    writeSparse("products/huge.bin", 1ull << 30);
    directory.write("products/12345.xml", "listing");
    Socket silent = connect();
    ASSERT_TRUE(sendAll(silent.fd(), "\x06\x00"s, kPatience));
    Socket reading = servedFrom("127.0.0.1", "huge.bin");  // a worker sending
    // A whole reply taken but the connection kept open: the server waits for it to close.
    Socket lingering = connect();
    ASSERT_TRUE(sendAll(lingering.fd(), encodeFileRequest("12345.xml"), kPatience));
    ASSERT_TRUE(receiveExactly(lingering.fd(), 11, patienceDeadline()));
    std::this_thread::sleep_for(milliseconds(50));  // let the server take the half request
    const int port = server.port();
    const auto start = std::chrono::steady_clock::now();
    server.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(2000));
    const Seen seen = readUntilClosed(silent);
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(seen.bytes, "");
    EXPECT_TRUE(countUntilClosed(reading).ended);
    EXPECT_TRUE(readUntilClosed(lingering).closed);
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
// time, and one that takes less than 16 MiB of its reply in two seconds is dropped.
class SilentRequesterTest : public ListingServerTest {
protected:
    SilentRequesterTest()
        : ListingServerTest(milliseconds(300),
                            ListingServerLimits{.leastTaken = {16 << 20, milliseconds(2000)}}) {}
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

TEST_F(SilentRequesterTest, ARequesterThatTakesTooLittleOfItsReplyIsDropped) {
    writeSparse("products/huge.bin", 1ull << 30);
    const struct {
        const char* what;
        std::size_t piece;  // taken every 100 ms; 0: nothing at all
    } readers[] = {{"stops reading", 0}, {"trickles", 256 * 1024}};
    for (const auto& reader : readers) {
        Socket connection = connect();
        ASSERT_TRUE(sendAll(connection.fd(), encodeFileRequest("huge.bin"), kPatience));
        std::vector<char> piece(std::max<std::size_t>(reader.piece, 1));
        bool ended = false;
        std::uint64_t taken = 0;
        for (const SteadyTime deadline = patienceDeadline();
             !ended && std::chrono::steady_clock::now() < deadline;) {
            std::this_thread::sleep_for(milliseconds(100));
            const long got = reader.piece == 0 ? 0
                                               : ::recv(connection.fd(), piece.data(), piece.size(),
                                                        MSG_DONTWAIT);
            if (got > 0) taken += static_cast<std::uint64_t>(got);
            // A reset or the server's end shows whether or not the reader reads.
            pollfd entry{connection.fd(), POLLRDHUP, 0};
            ended =
                ::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLHUP | POLLERR | POLLRDHUP)) != 0;
        }
        EXPECT_TRUE(ended) << "a reader that " << reader.what << " was not dropped";
        EXPECT_LT(taken, 1ull << 30);
    }
}

}  // namespace
}  // namespace tl
