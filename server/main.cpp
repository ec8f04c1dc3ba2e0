// tradeloom-market [--listen ADDRESS:PORT] [--data DIR] [--database sqlite:PATH|postgresql://...]:
// the reference marketplace server. The data folder holds the reference lists and the outbox
// (and market.db unless --database names another store).
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

#include "MarketServer.h"

namespace {

std::string defaultDataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return std::string(xdg) + "/tradeloom-market";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/tradeloom-market";
    return "tradeloom-market";
}

int usage() {
    std::cerr << "usage: tradeloom-market [--listen ADDRESS:PORT] [--data DIR]"
                 " [--database sqlite:PATH|postgresql://...]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string listen = "127.0.0.1:8080";
    std::string data = defaultDataFolder();
    std::string database;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) return usage();
        if (option == "--listen")
            listen = argv[++i];
        else if (option == "--data")
            data = argv[++i];
        else if (option == "--database")
            database = argv[++i];
        else
            return usage();
    }
    const auto colon = listen.rfind(':');
    if (colon == std::string::npos) return usage();
    const std::string address = listen.substr(0, colon);
    int port = 0;
    try {
        port = std::stoi(listen.substr(colon + 1));
    } catch (const std::exception&) {
        return usage();
    }
    if (port <= 0 || port > 65535) return usage();

    // SIGINT and SIGTERM are taken by a thread of their own, which stops the server cleanly.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        tl::market::MarketServerOptions options;
        options.dataFolder = data;
        options.database = database;
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
        const std::string store = database.rfind("postgres", 0) == 0 ? "PostgreSQL" : data;
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
