// client_footprint_bench [settle seconds]: starts the marketplace server in this process with a
// member, their listings among others' and a message for them; runs the real client on the
// offscreen platform, where the road plugin logs the member in and opens the home page, the
// quick-search results, my listings, the new-listing form and the message centre; waits the
// settle time (default 5 s) and prints the memory of the client's main process and of the
// browser engine's helper processes (its descendants), as PSS and RSS from /proc.
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "MarketServer.h"
#include "MarketStore.h"
#include "support/GeneratedMarket.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kMembers = 100;
constexpr int kListings = 2000;
constexpr auto kRoadTimeout = std::chrono::minutes(3);
constexpr auto kEndTimeout = std::chrono::seconds(20);
const std::string kMessageText = "Would you take 100 for the chair?";

std::string memberName(int m) {
    return "member" + std::to_string(1000 + m);
}

// The members, the generated listings (every hundredth is the first member's) and one message
// to the first member.
void seedMarket(tl::market::MarketStore& store) {
    for (int m = 0; m < kMembers; ++m) {
        tl::market::Member member;
        member.username = memberName(m);
        member.firstname = "Pat";
        member.lastname = "Member";
        member.connection = "Cable";
        member.email = member.username + "@example.org";
        store.createMember(member, "secret1");
    }
    std::mt19937 random(11);
    std::vector<tl::market::Listing> listings;
    for (int i = 0; i < kListings; ++i)
        listings.push_back(tl::bench::generatedListing(random, i, kMembers));
    store.addListings(listings);
    tl::market::Message message;
    message.sender = memberName(1);
    message.recipient = memberName(0);
    message.productid = "1";
    message.title = "Vintage chair";
    message.body = kMessageText;
    message.price = "100";
    message.sent = static_cast<std::int64_t>(std::time(nullptr));
    store.addMessage(message);
}

// The client's environment: this one's, with the platform, the road and the folders set.
std::vector<std::string> clientEnvironment(const std::string& work, int port) {
    std::map<std::string, std::string> values;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos) values[text.substr(0, equals)] = text.substr(equals + 1);
    }
    if (values.find("QTWEBENGINE_CHROMIUM_FLAGS") == values.end())
        values["QTWEBENGINE_CHROMIUM_FLAGS"] = "--disable-gpu";
    values["QT_QPA_PLATFORM"] = "offscreen";
    values["QT_PLUGIN_PATH"] = TRADELOOM_ROAD_PLUGINS;
    values["QT_QPA_GENERIC_PLUGINS"] = "screenshotroad";
    values["TRADELOOM_ROAD"] = "tour";
    values["TRADELOOM_ROAD_USER"] = memberName(0);
    values["TRADELOOM_ROAD_PASSWORD"] = "secret1";
    values["TRADELOOM_ROAD_SEARCH"] = "chair";
    values["TRADELOOM_ROAD_MESSAGE"] = kMessageText;
    values["TRADELOOM_ROAD_DONE"] = work + "/road.done";
    values["HOME"] = work;
    values["XDG_RUNTIME_DIR"] = work;
    values["TRADELOOM_HOME"] = work + "/home";
    values["TRADELOOM_SERVER"] = "127.0.0.1:" + std::to_string(port);
    values["TRADELOOM_BIND"] = "127.0.0.1";
    std::vector<std::string> out;
    for (const auto& [name, value] : values) out.push_back(name + "=" + value);
    return out;
}

pid_t startClient(const std::string& work, int port) {
    const std::vector<std::string> environment = clientEnvironment(work, port);
    std::vector<char*> envp;
    for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(TRADELOOM_CLIENT_BINARY), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, (work + "/client.log").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : -1;
}

// The process's parent from /proc/PID/stat (the field after the parenthesised name); -1 when
// it cannot be read.
pid_t parentOf(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream rest(text.substr(close + 2));
    char state = 0;
    pid_t parent = -1;
    rest >> state >> parent;
    return parent;
}

std::vector<pid_t> descendantsOf(pid_t root) {
    std::map<pid_t, pid_t> parents;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = std::stoi(name);
        parents[pid] = parentOf(pid);
    }
    std::vector<pid_t> found{root};
    for (std::size_t next = 0; next < found.size(); ++next)
        for (const auto& [pid, parent] : parents)
            if (parent == found[next]) found.push_back(pid);
    found.erase(found.begin());
    return found;
}

struct Memory {
    long pssKiB = 0;
    long rssKiB = 0;
};

Memory memoryOf(pid_t pid) {
    Memory memory;
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string line;
    while (std::getline(rollup, line)) {  // "Pss:  1234 kB", after a line naming the range
        std::istringstream fields(line);
        std::string field;
        long kib = 0;
        fields >> field >> kib;
        if (field == "Pss:") memory.pssKiB = kib;
        if (field == "Rss:") memory.rssKiB = kib;
    }
    return memory;
}

double mib(long kib) {
    return static_cast<double>(kib) / 1024.0;
}

void endClient(pid_t pid) {
    ::kill(pid, SIGTERM);
    const auto until = Clock::now() + kEndTimeout;
    while (Clock::now() < until) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    const int settleSeconds = argc > 1 ? std::max(0, std::atoi(argv[1])) : 5;
    char folderTemplate[] = "/tmp/client_footprint_bench.XXXXXX";
    if (mkdtemp(folderTemplate) == nullptr) return 1;
    const std::string work = folderTemplate;
    fs::create_directories(work + "/home/users");
    fs::create_directories(work + "/market");
    std::ofstream(work + "/home/users/" + memberName(0) + ".xml")
        << "<user><firstname>Pat</firstname><lastname>Member</lastname><username>" << memberName(0)
        << "</username></user>";

    int status = 0;
    {
        tl::market::MarketServerOptions options;
        options.dataFolder = work + "/market";
        options.logRequests = false;
        tl::market::MarketServer server(options);
        const int port = server.start("127.0.0.1", 0);
        if (port < 0) return 1;
        seedMarket(server.store());

        const auto started = Clock::now();
        const pid_t client = startClient(work, port);
        if (client < 0) {
            std::cerr << "client_footprint: the client did not start\n";
            return 1;
        }
        while (!fs::exists(work + "/road.done") && Clock::now() - started < kRoadTimeout &&
               ::waitpid(client, nullptr, WNOHANG) == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (!fs::exists(work + "/road.done")) {
            std::cerr << "client_footprint: the client did not walk its road; its log:\n"
                      << std::ifstream(work + "/client.log").rdbuf() << "\n";
            status = 1;
        } else {
            const double road = std::chrono::duration<double>(Clock::now() - started).count();
            std::this_thread::sleep_for(std::chrono::seconds(settleSeconds));
            const Memory main = memoryOf(client);
            Memory helpers;
            const std::vector<pid_t> descendants = descendantsOf(client);
            for (const pid_t helper : descendants) {
                const Memory memory = memoryOf(helper);
                helpers.pssKiB += memory.pssKiB;
                helpers.rssKiB += memory.rssKiB;
            }
            std::printf(
                "road walked in %.1f s, measured %d s later (PSS counts shared pages "
                "once, split among their users; RSS counts them in each process)\n",
                road, settleSeconds);
            std::printf("main process:     PSS %6.1f MiB   RSS %6.1f MiB\n", mib(main.pssKiB),
                        mib(main.rssKiB));
            std::printf("helper processes: PSS %6.1f MiB   RSS %6.1f MiB   (%zu processes)\n",
                        mib(helpers.pssKiB), mib(helpers.rssKiB), descendants.size());
        }
        endClient(client);
        server.stop();
    }
    fs::remove_all(work);
    return status;
}
