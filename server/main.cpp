// tradeloom-market --version | [--listen ADDRESS:PORT] [--data DIR] [--database
// sqlite:PATH|postgresql://...]
//                  [--reachability-port PORT] [--trusted-proxy ADDRESS]: the reference
// marketplace server. The data folder holds the reference lists and the outbox (and market.db
// unless --database names another store).
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

#include "MarketServer.h"
#include "core/platform/ProgramVersion.h"

namespace {

std::string defaultDataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return std::string(xdg) + "/tradeloom-market";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/tradeloom-market";
    return "tradeloom-market";
}

int usage() {
    std::cerr << "usage: tradeloom-market --version\n"
                 "       tradeloom-market [--listen ADDRESS:PORT] [--data DIR] "
                 "[--database sqlite:PATH|postgresql://...] [--reachability-port PORT] "
                 "[--trusted-proxy ADDRESS]\n";
    return 2;
}

// A port number 1 to 65535, or 0.
int portNumber(const std::string& text) {
    try {
        std::size_t used = 0;
        const int port = std::stoi(text, &used);
        return used == text.size() && port > 0 && port <= 65535 ? port : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::cout << "tradeloom-market " << tl::programVersion() << "\n";
        return 0;
    }
    std::string listen = "127.0.0.1:8080";
    std::string reachabilityPort = "9999";
    tl::market::MarketServerOptions options;
    options.dataFolder = defaultDataFolder();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = argv[i + 1];
        if (option == "--listen")
            listen = value;
        else if (option == "--data")
            options.dataFolder = value;
        else if (option == "--database")
            options.database = value;
        else if (option == "--reachability-port")
            reachabilityPort = value;
        else if (option == "--trusted-proxy")
            options.trustedProxy = value;
        else
            return usage();
    }
    if (argc % 2 == 0) return usage();
    const auto colon = listen.rfind(':');
    if (colon == std::string::npos) return usage();
    const std::string address = listen.substr(0, colon);
    const int port = portNumber(listen.substr(colon + 1));
    options.reachabilityPort = portNumber(reachabilityPort);
    if (port == 0 || options.reachabilityPort == 0) return usage();

    // SIGINT and SIGTERM are taken by a thread of their own, which stops the server cleanly.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        tl::market::MarketServer server(options);
        if (server.bind(address, port) < 0) {
            std::cerr << "tradeloom-market: cannot listen on " << listen << "\n";
            return 1;
        }
        std::thread watcher([&server, signals] {
            int received = 0;
            sigwait(&signals, &received);
            server.stop();
        });
        // The database URI may carry a password, so only its kind is logged.
        const std::string store =
            options.database.rfind("postgres", 0) == 0 ? "PostgreSQL" : options.dataFolder;
        std::cerr << "tradeloom-market: serving " << store << " on http://" << listen << "/\n";
        const bool served = server.serve();
        // serve() also ends when stop() was never asked for (a failure): wake the watcher.
        pthread_kill(watcher.native_handle(), SIGTERM);
        watcher.join();
        std::cerr << "tradeloom-market: stopped\n";
        return served ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "tradeloom-market: " << error.what() << "\n";
        return 1;
    }
}
