#include "support/FakeGateway.h"

namespace tl::test {
namespace {

// One service entry of a device description.
std::string serviceList(const std::string& type, const std::string& id, const std::string& path,
                        const std::string& scpd) {
    return "<serviceList><service><serviceType>urn:schemas-upnp-org:service:" + type +
           "</serviceType><serviceId>urn:upnp-org:serviceId:" + id +
           "</serviceId><controlURL>/ctl/" + path + "</controlURL><eventSubURL>/evt/" + path +
           "</eventSubURL><SCPDURL>/" + scpd + "</SCPDURL></service></serviceList>";
}

std::string soapReply(const std::string& action, const std::string& arguments = "") {
    return R"(<?xml version="1.0"?><s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/" )"
           R"(s:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/"><s:Body><u:)" +
           action + R"(Response xmlns:u="urn:schemas-upnp-org:service:WANIPConnection:1">)" +
           arguments + "</u:" + action + "Response></s:Body></s:Envelope>";
}

constexpr char kConflictFault[] =
    R"(<?xml version="1.0"?><s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/" )"
    R"(s:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/"><s:Body><s:Fault>)"
    R"(<faultcode>s:Client</faultcode><faultstring>UPnPError</faultstring><detail>)"
    R"(<UPnPError xmlns="urn:schemas-upnp-org:control-1-0"><errorCode>718</errorCode>)"
    R"(<errorDescription>ConflictInMappingEntry</errorDescription></UPnPError></detail>)"
    R"(</s:Fault></s:Body></s:Envelope>)";

bool carries(const std::string& body, const std::string& action) {
    return body.find("<u:" + action) != std::string::npos;
}

}  // namespace

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

std::string element(const std::string& body, const std::string& name) {
    const std::string open = "<" + name + ">";
    const std::size_t start = body.find(open);
    if (start == std::string::npos) return "<missing>";
    const std::size_t end = body.find("</" + name + ">", start);
    return body.substr(start + open.size(), end - start - open.size());
}

FakeGateway::FakeGateway() {
    http.reply(kDescriptionPath, gatewayDescription(), "text/xml");
    http.handle(kControlPath, [this](const ScriptedHttpServer::Request& request) {
        if (carries(request.body, "AddPortMapping"))
            return refuseMapping ? std::string(kConflictFault) : soapReply("AddPortMapping");
        if (carries(request.body, "DeletePortMapping")) return soapReply("DeletePortMapping");
        if (carries(request.body, "GetExternalIPAddress") && !externalAddress.empty())
            return soapReply("GetExternalIPAddress", "<NewExternalIPAddress>" + externalAddress +
                                                         "</NewExternalIPAddress>");
        return std::string(kConflictFault);
    });
}

std::vector<std::string> FakeGateway::calls(const std::string& action) const {
    std::vector<std::string> bodies;
    for (const auto& request : http.requests())
        if (request.target == kControlPath && carries(request.body, action))
            bodies.push_back(request.body);
    return bodies;
}

}  // namespace tl::test
