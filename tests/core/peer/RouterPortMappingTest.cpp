#include <gtest/gtest.h>

#include <condition_variable>

#include "core/peer/CServerThread.h"
#include "core/peer/RouterPortMapping.h"
#include "support/FakeGateway.h"
#include "support/FakeNatPmpGateway.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using std::chrono::milliseconds;

using test::element;
using test::FakeGateway;
using test::gatewayDescription;
constexpr const char* kDescriptionPath = FakeGateway::kDescriptionPath;

TEST(RouterPortMapping, AddsTcpPortToTheLocalAddressAndRemovesItAtTheEnd) {
    FakeGateway gateway;
    {
        RouterPortMapping mapping(9999, {gateway.descriptionUrl(), ""});
        ASSERT_TRUE(mapping.waitForMapping());
        EXPECT_EQ(mapping.localAddress(), "127.0.0.1");
        const auto added = gateway.calls("AddPortMapping");
        ASSERT_EQ(added.size(), 1u);
        EXPECT_EQ(element(added[0], "NewExternalPort"), "9999");
        EXPECT_EQ(element(added[0], "NewInternalPort"), "9999");
        EXPECT_EQ(element(added[0], "NewProtocol"), "TCP");
        EXPECT_EQ(element(added[0], "NewInternalClient"), "127.0.0.1");
        EXPECT_EQ(element(added[0], "NewPortMappingDescription"), "Tradeloom");
        EXPECT_EQ(element(added[0], "NewEnabled"), "1");
        EXPECT_TRUE(gateway.calls("DeletePortMapping").empty());
    }
    const auto removed = gateway.calls("DeletePortMapping");
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(element(removed[0], "NewExternalPort"), "9999");
    EXPECT_EQ(element(removed[0], "NewProtocol"), "TCP");
}

TEST(RouterPortMapping, AMappingTheRouterRefusedIsNotRemovedLater) {
    // The port may be mapped to another machine: removing it would take that machine's mapping.
    FakeGateway gateway;
    gateway.refuseMapping = true;
    {
        RouterPortMapping mapping(9999, {gateway.descriptionUrl(), ""});
        EXPECT_FALSE(mapping.waitForMapping());
    }
    EXPECT_EQ(gateway.calls("AddPortMapping").size(), 1u);
    EXPECT_TRUE(gateway.calls("DeletePortMapping").empty());
}

TEST(RouterPortMapping, NoRouterOrNoConnectionServiceIsSilent) {
    {
        RouterPortMapping nobody(9999, {"http://" + test::deadHost() + "/rootDesc.xml", ""});
        EXPECT_FALSE(nobody.waitForMapping());
    }
    test::ScriptedHttpServer notARouter;
    notARouter.reply(kDescriptionPath,
                     "<root><device><deviceType>printer</deviceType></device></root>", "text/xml");
    {
        RouterPortMapping printer(9999, {"http://" + notARouter.host() + kDescriptionPath, ""});
        EXPECT_FALSE(printer.waitForMapping());
    }
    for (const auto& request : notARouter.requests()) EXPECT_EQ(request.target, kDescriptionPath);
}

TEST(RouterPortMapping, ASlowRouterDelaysNoRequestAndTheServerMapsItsOwnPort) {
    test::TempProgramDirectory directory;
    directory.write("products/12345.xml", "listing");
    FakeGateway gateway;
    // The router does not describe itself until the first file has been served, or until it
    // gives up waiting, which happens only when serving waited for the router.
    std::mutex mutex;
    std::condition_variable released;
    bool served = false;
    bool gatewayGaveUp = false;
    gateway.http.handle(kDescriptionPath, [&](const test::ScriptedHttpServer::Request&) {
        std::unique_lock lock(mutex);
        gatewayGaveUp = !released.wait_for(lock, std::chrono::seconds(10), [&] { return served; });
        return gatewayDescription();
    });
    ScriptedUi ui;
    CServerThread server(
        CServerThread::Settings{0, "127.0.0.1", CServerThread::kRequestTimeout,
                                RouterPortMapping::Gateway{gateway.descriptionUrl(), ""}});
    ASSERT_TRUE(server.start());
    {
        Socket requester = connectTo("127.0.0.1", server.port(), milliseconds(5000));
        ASSERT_TRUE(sendAll(requester.fd(), encodeFileRequest("12345.xml"), milliseconds(5000)));
        const auto reply = receiveExactly(requester.fd(), 11,
                                          std::chrono::steady_clock::now() + milliseconds(5000));
        EXPECT_EQ(reply, encodeLength(7) + "listing");
    }
    {
        std::lock_guard lock(mutex);
        served = true;
    }
    released.notify_all();
    ASSERT_NE(server.routerMapping(), nullptr);
    ASSERT_TRUE(server.routerMapping()->waitForMapping());
    EXPECT_FALSE(gatewayGaveUp);
    const std::string port = std::to_string(server.port());
    ASSERT_EQ(gateway.calls("AddPortMapping").size(), 1u);
    EXPECT_EQ(element(gateway.calls("AddPortMapping")[0], "NewExternalPort"), port);
    EXPECT_EQ(element(gateway.calls("AddPortMapping")[0], "NewInternalPort"), port);
    server.stop();
    ASSERT_EQ(gateway.calls("DeletePortMapping").size(), 1u);
    EXPECT_EQ(element(gateway.calls("DeletePortMapping")[0], "NewExternalPort"), port);
    EXPECT_TRUE(ui.boxes().empty());
}

TEST(RouterPortMapping, WithoutUpnpNatPmpMapsRenewsBeforeTheLifetimeEndsAndRemovesAtTheEnd) {
    using Request = test::FakeNatPmpGateway::MappingRequest;
    test::FakeNatPmpGateway natPmp(test::FakeNatPmpGateway::Mode::Grant, "198.51.100.4");
    std::mutex mutex;
    std::vector<std::pair<RouterState, std::string>> reports;
    {
        RouterPortMapping mapping(9999,
                                  {"http://" + test::deadHost() + kDescriptionPath, "",
                                   NatPmpGateway{natPmp.address()}, std::chrono::seconds(2)},
                                  [&](RouterState outcome, const std::string& external) {
                                      std::lock_guard lock(mutex);
                                      reports.emplace_back(outcome, external);
                                  });
        ASSERT_TRUE(mapping.waitForMapping());
        // Granted for 2 seconds, the mapping is asked for again after about one.
        ASSERT_TRUE(natPmp.waitForMappingRequests(2, 5000));
    }
    const std::vector<Request> requests = natPmp.mappingRequests();
    ASSERT_GE(requests.size(), 3u);
    for (std::size_t i = 0; i + 1 < requests.size(); ++i)
        EXPECT_EQ(requests[i], (Request{2, 9999, 9999, 2})) << i;
    EXPECT_EQ(requests.back(), (Request{2, 9999, 0, 0}));  // removed: TCP, lifetime 0
    // Renewals that change nothing tell nobody.
    std::lock_guard lock(mutex);
    EXPECT_EQ(reports, (std::vector<std::pair<RouterState, std::string>>{
                           {RouterState::AddedNatPmp, "198.51.100.4"}}));
}

}  // namespace
}  // namespace tl
