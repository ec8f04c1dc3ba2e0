// The tradeloom-market executable as run.sh runs it: data (kept files too) kept through a kill -9,
// a clean stop on SIGTERM, one log line per request without the query (it carries passwords).
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "Digest.h"
#include "MarketTestServer.h"
#include "core/platform/Files.h"
#include "core/platform/ServerHost.h"
#include "core/service/MarketContract.h"
#include "core/service/Query.h"
#include "core/session/Login.h"
#include "support/ScriptedUi.h"
#include "support/WaitFor.h"

namespace tl {
namespace {

int freePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    close(s);
    return ntohs(address.sin_port);
}

struct MarketProcessTest : ::testing::Test {
    std::string folder;
    int port = freePort();
    pid_t pid = -1;
    ScriptedUi ui;
    test::TestDatabase database;

    MarketProcessTest() {
        char name[] = "/tmp/tradeloom-market-process.XXXXXX";
        folder = mkdtemp(name);
        setServerHost("127.0.0.1:" + std::to_string(port));
    }
    ~MarketProcessTest() override {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        setServerHost("");
        std::filesystem::remove_all(folder);
    }

    // Starts the server and waits (bounded) until it answers.
    bool start() {
        pid = fork();
        if (pid == 0) {
            const std::string listen = "127.0.0.1:" + std::to_string(port);
            const std::string data = folder + "/data";
            const std::string log = folder + "/server.log";
            if (!freopen(log.c_str(), "a", stderr)) _exit(126);
            // On SQLite the data folder keeps the database.
            const char* option = database.uri().empty() ? nullptr : "--database";
            execl(TRADELOOM_MARKET_BINARY, TRADELOOM_MARKET_BINARY, "--listen", listen.c_str(),
                  "--data", data.c_str(), option, database.uri().c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        httplib::Client probe("127.0.0.1", port);
        return test::waitFor(
            [&] {
                const auto reply = probe.Get("/");
                return reply && reply->status == 200;
            },
            std::chrono::seconds(5), std::chrono::milliseconds(25));
    }

    // Sends the signal; the exit status, or -1 when the process did not end within 5 s.
    int stop(int signal) {
        kill(pid, signal);
        for (int i = 0; i < 500; ++i) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }
};

TEST_F(MarketProcessTest, DataSurvivesAKillAndTheServerStopsCleanlyOnSigterm) {
    ASSERT_TRUE(start());
    ASSERT_EQ(test::registerMember("annlee", "secret1"), "0");
    const std::string id = test::publish(test::listingFields("annlee", "Oak table"));
    ASSERT_GT(std::atol(id.c_str()), 0);
    ASSERT_EQ(loginRequest("annlee", "secret1"), kLoginOk);
    httplib::Client client("127.0.0.1", port);
    const std::string photo = "GIF89a the table from above";
    const auto put = client.Post(Query(contract::page::kPutListingFile)
                                     .add(contract::key::kProductId, id)
                                     .add(contract::key::kFileName, "top.gif")
                                     .add(contract::key::kFileBytes, std::to_string(photo.size()))
                                     .add(contract::key::kFileDigest, market::sha256Hex(photo))
                                     .pathAndQuery(),
                                 photo, "application/octet-stream");
    ASSERT_TRUE(put && put->body == "0");
    const auto kept = client.Post(
        Query(contract::page::kKeepListingFiles).add(contract::key::kProductId, id).pathAndQuery(),
        "top.gif\n", "text/plain");
    ASSERT_TRUE(kept && kept->body == "0");
    EXPECT_EQ(stop(SIGKILL), 128 + SIGKILL);

    ASSERT_TRUE(start());
    EXPECT_EQ(loginRequest("annlee", "secret1"), kLoginOk);
    const auto found = test::records(endpoints::search("oak", "BOTH"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(test::field(found[0], "productid"), id);
    const auto fetched = client.Get(Query(contract::page::kGetListingFile)
                                        .add(contract::key::kProductId, id)
                                        .add(contract::key::kFileName, "top.gif")
                                        .pathAndQuery());
    ASSERT_TRUE(fetched);
    EXPECT_EQ(fetched->body, photo);
    EXPECT_EQ(stop(SIGTERM), 0);

    const auto log = readWholeFile(folder + "/server.log");
    ASSERT_TRUE(log);
    EXPECT_NE(log->find("127.0.0.1 GET /tradeloom/app/login.asp 200 1\n"), std::string::npos)
        << *log;
    EXPECT_EQ(log->find("secret1"), std::string::npos) << "no passwords in the log";
    EXPECT_NE(log->find("stopped"), std::string::npos);
}

TEST_F(MarketProcessTest, RefusesABadCommandLine) {
    EXPECT_NE(std::system(TRADELOOM_MARKET_BINARY " --listen nonsense 2>/dev/null"), 0);
    EXPECT_NE(std::system(TRADELOOM_MARKET_BINARY " --what 2>/dev/null"), 0);
    EXPECT_NE(std::system(TRADELOOM_MARKET_BINARY " --database 2>/dev/null"), 0);
    EXPECT_NE(std::system(TRADELOOM_MARKET_BINARY " --database mysql://x/y 2>/dev/null"), 0);
}

}  // namespace
}  // namespace tl
