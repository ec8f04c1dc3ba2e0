#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>

#include "core/peer/RouterPortMapping.h"
#include "core/peer/SocketIo.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

// A real gateway daemon (miniupnpd, UPnP and NAT-PMP) in a network namespace the test makes
// for itself: a LAN side at 192.168.77.1, where the daemon listens, and a WAN side at
// 45.77.0.1. Nothing leaves the namespace. Making one takes root.
constexpr char kLan[] = "192.168.77.1";
constexpr char kWanAddress[] = "45.77.0.1";
constexpr int kUpnpPort = 5555;

constexpr char kNetworkScript[] = R"(set -e
ip link set lo up
ip link add lan0 type veth peer name lan1
ip link add ext0 type veth peer name ext1
ip addr add 192.168.77.1/24 dev lan0
ip addr add 192.168.77.2/24 dev lan1
ip addr add 45.77.0.1/24 dev ext0
ip addr add 45.77.0.2/24 dev ext1
for i in lan0 lan1 ext0 ext1; do ip link set $i up; done
ip route add default via 45.77.0.2
for table in nat filter mangle; do iptables-legacy -w -t $table -N MINIUPNPD; done
iptables-legacy -w -t nat -N MINIUPNPD-POSTROUTING
)";

constexpr char kDaemonConfig[] = R"(ext_ifname=ext0
listening_ip=lan0
port=5555
enable_natpmp=yes
enable_upnp=yes
secure_mode=no
allow 1024-65535 192.168.77.0/24 1024-65535
deny 0-65535 0.0.0.0/0 0-65535
)";

std::string commandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
        ::pclose(pipe);
    }
    return output;
}

bool gatewayForwardsPort9999() {
    return commandOutput("iptables-legacy -w -t nat -S MINIUPNPD 2>/dev/null")
               .find("--dport 9999") != std::string::npos;
}

// Maps port 9999 through the gateway and takes the mapping away again; says what happened.
std::string mapAndRemove(const RouterPortMapping::Gateway& gateway) {
    std::mutex mutex;
    std::string reported;
    bool forwardedWhileMapped = false;
    {
        RouterPortMapping mapping(
            9999, gateway, [&](RouterState outcome, const std::string& external) {
                std::lock_guard lock(mutex);
                reported += std::to_string(static_cast<int>(outcome)) + "@" + external + " ";
            });
        if (!mapping.waitForMapping()) return "not mapped";
        forwardedWhileMapped = gatewayForwardsPort9999();
    }
    std::lock_guard lock(mutex);
    return reported + (forwardedWhileMapped ? "forwarded " : "not forwarded ") +
           (gatewayForwardsPort9999() ? "left behind" : "removed");
}

// Runs in a child process of its own, in a new network namespace; the result goes to out.
int runAgainstTheDaemon(const std::string& folder, int out) {
    auto tell = [out](const std::string& text) {
        [[maybe_unused]] const ssize_t written = ::write(out, text.data(), text.size());
    };
    if (::unshare(CLONE_NEWNET) != 0) {
        tell("no network namespace");
        return 2;
    }
    if (std::system(("(" + std::string(kNetworkScript) + ") >/dev/null 2>&1").c_str()) != 0) {
        tell("the network could not be made");
        return 2;
    }
    std::ofstream(folder + "miniupnpd.conf") << kDaemonConfig;
    const pid_t daemon = ::fork();
    if (daemon == 0) {
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, 1);
        ::dup2(quiet, 2);
        ::execlp("miniupnpd", "miniupnpd", "-d", "-f", (folder + "miniupnpd.conf").c_str(), "-P",
                 (folder + "miniupnpd.pid").c_str(), nullptr);
        ::_exit(127);
    }
    bool ready = false;
    for (int attempt = 0; attempt < 50 && !ready; ++attempt) {
        ready = connectTo(kLan, kUpnpPort, std::chrono::milliseconds(100)).valid();
        if (!ready) ::usleep(100000);
    }
    std::string result = ready ? "" : "the daemon did not start";
    if (ready) {
        const NatPmpGateway natPmp{kLan};
        result += "UPnP: " +
                  mapAndRemove({"http://" + std::string(kLan) + ":" + std::to_string(kUpnpPort) +
                                    "/rootDesc.xml",
                                "", natPmp}) +
                  "\nNAT-PMP: " +
                  mapAndRemove({"http://" + std::string(kLan) + ":1/rootDesc.xml", "", natPmp});
    }
    ::kill(daemon, SIGTERM);
    ::waitpid(daemon, nullptr, 0);
    tell(result);
    return 0;
}

TEST(RealGateway, MapsThroughTheDaemonsUpnpThenItsNatPmpAndRemovesEachMapping) {
    if (::geteuid() != 0) GTEST_SKIP() << "making a network namespace takes root";
    test::TempProgramDirectory folder;
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    if (child == 0) ::_exit(runAgainstTheDaemon(folder.path(), pipeEnds[1]));
    ::close(pipeEnds[1]);
    std::string result;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) result.append(buffer, n);
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << result;
    const std::string upnp = std::to_string(static_cast<int>(RouterState::AddedUpnp));
    const std::string natPmp = std::to_string(static_cast<int>(RouterState::AddedNatPmp));
    EXPECT_EQ(result, "UPnP: " + upnp + "@" + kWanAddress + " forwarded removed\nNAT-PMP: " +
                          natPmp + "@" + kWanAddress + " forwarded removed");
}

}  // namespace
}  // namespace tl
