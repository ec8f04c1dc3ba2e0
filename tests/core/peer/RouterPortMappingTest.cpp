#include <gtest/gtest.h>

#include <condition_variable>

#include "core/peer/CServerThread.h"
#include "core/peer/RouterPortMapping.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using std::chrono::milliseconds;

constexpr char kDescriptionPath[] = "/rootDesc.xml";
constexpr char kControlPath[] = "/ctl/IPConn";

// The description of a home router offering the connection service port mappings are made on.
// One service entry of a device description.
std::string serviceList(const std::string& type, const std::string& id, const std::string& path,
                        const std::string& scpd) {
    return "<serviceList><service><serviceType>urn:schemas-upnp-org:service:" + type +
           "</serviceType><serviceId>urn:upnp-org:serviceId:" + id +
           "</serviceId><controlURL>/ctl/" + path + "</controlURL><eventSubURL>/evt/" + path +
           "</eventSubURL><SCPDURL>/" + scpd + "</SCPDURL></service></serviceList>";
}

// A gateway with a WAN device whose connection device offers the IP connection service.
std::string gatewayDescription() {
    return R"(<?xml version="1.0"?>
<root xmlns="urn:schemas-upnp-org:device-1-0">
<specVersion><major>1</major><minor>0</minor></specVersion>
<device>
<deviceType>urn:schemas-upnp-org:device:InternetGatewayDevice:1</deviceType>
<friendlyName>Test Router</friendlyName>
<deviceList><device>
<deviceType>urn:schemas-upnp-org:device:WANDevice:1</deviceType>
)" + serviceList("WANCommonInterfaceConfig:1", "WANCommonIFC1", "CmnIfCfg", "WANCfg.xml") +
           R"(
<deviceList><device>
<deviceType>urn:schemas-upnp-org:device:WANConnectionDevice:1</deviceType>
)" + serviceList("WANIPConnection:1", "WANIPConn1", "IPConn", "WANIPCn.xml") +
           R"(
</device></deviceList>
</device></deviceList>
</device>
</root>
)";
}

std::string soapReply(const std::string& action) {
    return R"(<?xml version="1.0"?><s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/" )"
           R"(s:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/"><s:Body><u:)" +
           action +
           R"(Response xmlns:u="urn:schemas-upnp-org:service:WANIPConnection:1"/>)"
           R"(</s:Body></s:Envelope>)";
}

constexpr char kConflictFault[] =
    R"(<?xml version="1.0"?><s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/" )"
    R"(s:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/"><s:Body><s:Fault>)"
    R"(<faultcode>s:Client</faultcode><faultstring>UPnPError</faultstring><detail>)"
    R"(<UPnPError xmlns="urn:schemas-upnp-org:control-1-0"><errorCode>718</errorCode>)"
    R"(<errorDescription>ConflictInMappingEntry</errorDescription></UPnPError></detail>)"
    R"(</s:Fault></s:Body></s:Envelope>)";

std::string element(const std::string& body, const std::string& name) {
    const std::string open = "<" + name + ">";
    const std::size_t start = body.find(open);
    if (start == std::string::npos) return "<missing>";
    const std::size_t end = body.find("</" + name + ">", start);
    return body.substr(start + open.size(), end - start - open.size());
}

// A home router of our own on loopback: its description and the port-mapping calls it gets.
class FakeGateway {
public:
    FakeGateway() {
        http.reply(kDescriptionPath, gatewayDescription(), "text/xml");
        http.handle(kControlPath, [this](const test::ScriptedHttpServer::Request& request) {
            if (request.body.find("AddPortMapping") != std::string::npos && refuseMapping)
                return std::string(kConflictFault);
            for (const char* action : {"AddPortMapping", "DeletePortMapping"})
                if (request.body.find(action) != std::string::npos) return soapReply(action);
            return std::string(kConflictFault);
        });
    }

    std::string descriptionUrl() const { return "http://" + http.host() + kDescriptionPath; }
    // The bodies of the control calls that carry action, in order.
    std::vector<std::string> calls(const std::string& action) const {
        std::vector<std::string> bodies;
        for (const auto& request : http.requests())
            if (request.target == kControlPath &&
                request.body.find("<u:" + action) != std::string::npos)
                bodies.push_back(request.body);
        return bodies;
    }

    test::ScriptedHttpServer http;
    std::atomic<bool> refuseMapping{false};
};

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

}  // namespace
}  // namespace tl
