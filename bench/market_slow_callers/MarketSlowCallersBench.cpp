// The marketplace server under slow callers and a password guesser: 200 connections from
// 127.0.0.2 each trickle one header byte every 5 s (reconnecting when dropped), and 2 guessers
// at 127.0.0.4 send wrong logins for a member as fast as they are answered, while 4 ordinary
// requesters at 127.0.0.3 ask a list, a search and that member's own login in a loop. Prints
// the ordinary requests' latency percentiles, how often the slow callers were dropped and how
// the guesses were answered.
//
//   market_slow_callers_bench [seconds (default 30)] [slow connections (default 200)]
//                             [guessers (default 2)]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "MarketServer.h"
#include "MarketStore.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

int connectFrom(const char* source, int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in from{}, to{};
    from.sin_family = to.sin_family = AF_INET;
    inet_pton(AF_INET, source, &from.sin_addr);
    inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0 ||
        ::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        if (fd >= 0) ::close(fd);
        return -1;
    }
    return fd;
}

// One whole GET from the source address on a connection of its own; true when a 200 reply came
// and the server closed. The reply's body goes to body when given.
bool get(const char* source, int port, const std::string& path, std::string* body = nullptr) {
    const int fd = connectFrom(source, port);
    if (fd < 0) return false;
    const std::string request =
        "GET " + path + " HTTP/1.1\r\nHost: market\r\nConnection: close\r\n\r\n";
    bool ok = ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) ==
              static_cast<ssize_t>(request.size());
    std::string reply;
    char chunk[16384];
    while (ok) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10'000) <= 0) {
            ok = false;
            break;
        }
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0) break;
        reply.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (body) {
        const auto headEnd = reply.find("\r\n\r\n");
        *body = headEnd == std::string::npos ? "" : reply.substr(headEnd + 4);
    }
    return ok && reply.rfind("HTTP/1.1 200", 0) == 0;
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(p * values.size()))];
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 30;
    const int slowCount = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    const int guesserCount = argc > 3 ? std::max(0, std::atoi(argv[3])) : 2;

    char folder[] = "/tmp/market-slow-callers.XXXXXX";
    if (!mkdtemp(folder)) return 1;
    tl::market::MarketServerOptions options;
    options.dataFolder = folder;
    options.logRequests = false;
    int port = -1;
    {
        tl::market::MarketServer server(options);
        std::vector<tl::market::Listing> listings;
        for (int i = 0; i < 2000; ++i) {
            tl::market::Listing l;
            l.owner = "member" + std::to_string(1000 + i % 50);
            l.titlebar = (i % 3 ? "Oak table " : "Brass lamp ") + std::to_string(i);
            l.description = "Good condition";
            l.price = std::to_string(i % 300) + ".50";
            l.kind = "Selling";
            listings.push_back(l);
        }
        server.store().addListings(listings);
        tl::market::Member member;
        member.username = "member1000";
        if (!server.store().createMember(member, "secret1")) return 1;
        port = server.start("127.0.0.1", 0);
        if (port < 0) return 1;

        const auto end = Clock::now() + std::chrono::seconds(seconds);
        std::atomic<long> dropped{0};
        std::thread slow([&] {
            std::vector<int> fds(static_cast<std::size_t>(slowCount), -1);
            const char head[] =
                "GET /tradeloom/app/search.asp?criteria=oak HTTP/1.1\r\nHost: m\r\nX-a: ";
            while (Clock::now() < end) {
                for (int& fd : fds) {
                    if (fd >= 0 && ::send(fd, "a", 1, MSG_NOSIGNAL) != 1) {
                        ::close(fd);
                        fd = -1;
                        ++dropped;
                    }
                    if (fd < 0) {
                        fd = connectFrom("127.0.0.2", port);
                        if (fd >= 0) ::send(fd, head, sizeof head - 1, MSG_NOSIGNAL);
                    }
                }
                for (int i = 0; i < 50 && Clock::now() < end; ++i)
                    std::this_thread::sleep_for(100ms);
            }
            for (const int fd : fds)
                if (fd >= 0) ::close(fd);
        });
        std::atomic<long> guesses{0}, guessesTaken{0};
        std::vector<std::thread> guessers;
        for (int g = 0; g < guesserCount; ++g) {
            guessers.emplace_back([&, g] {
                for (long i = 0; Clock::now() < end; ++i) {
                    std::string reply;
                    get("127.0.0.4", port,
                        "/tradeloom/app/login.asp?username=member1000&password=guess" +
                            std::to_string(g) + "x" + std::to_string(i),
                        &reply);
                    ++guesses;
                    if (reply != "-2") ++guessesTaken;
                }
            });
        }
        std::this_thread::sleep_for(1s);  // the slow callers are in place

        std::vector<std::vector<double>> latencies(4);
        std::atomic<long> failures{0};
        std::vector<std::thread> ordinary;
        for (std::size_t t = 0; t < latencies.size(); ++t) {
            ordinary.emplace_back([&, t] {
                for (int i = 0; Clock::now() < end; ++i) {
                    const auto start = Clock::now();
                    const char* path =
                        i % 3 == 0 ? "/tradeloom/currentcategorylist.xml"
                        : i % 3 == 1
                            ? "/tradeloom/app/search.asp?criteria=oak&status=BOTH"
                            : "/tradeloom/app/login.asp?username=member1000&password=secret1";
                    std::string reply;
                    const bool ok =
                        get("127.0.0.3", port, path, &reply) && (i % 3 != 2 || reply == "0");
                    latencies[t].push_back(
                        std::chrono::duration<double, std::milli>(Clock::now() - start).count());
                    if (!ok) ++failures;
                }
            });
        }
        for (auto& t : ordinary) t.join();
        for (auto& t : guessers) t.join();
        slow.join();
        std::vector<double> all;
        for (const auto& l : latencies) all.insert(all.end(), l.begin(), l.end());
        std::printf(
            "slow callers: %d connections from 127.0.0.2, one header byte per 5 s, %ld drops\n",
            slowCount, dropped.load());
        std::printf("ordinary requests from 127.0.0.3: %zu in %d s, %ld failed\n", all.size(),
                    seconds - 1, failures.load());
        std::printf("guesses from 127.0.0.4 (%d at once): %ld answered, %ld not as a refusal\n",
                    guesserCount, guesses.load(), guessesTaken.load());
        std::printf("latency ms: p50 %.2f  p99 %.2f  max %.2f\n", percentile(all, 0.5),
                    percentile(all, 0.99), percentile(all, 1.0));
    }
    std::filesystem::remove_all(folder);
    return 0;
}
