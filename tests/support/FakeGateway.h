#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "support/ScriptedHttpServer.h"

namespace tl::test {

// A UPnP home router of our own on loopback: its description and the port-mapping calls it
// gets. It adds and removes mappings, refuses them when told to, and gives its public address
// when it has one.
class FakeGateway {
public:
    static constexpr char kDescriptionPath[] = "/rootDesc.xml";
    static constexpr char kControlPath[] = "/ctl/IPConn";

    FakeGateway();

    std::string descriptionUrl() const { return "http://" + http.host() + kDescriptionPath; }
    // The bodies of the control calls that carry action, in order.
    std::vector<std::string> calls(const std::string& action) const;

    ScriptedHttpServer http;
    std::atomic<bool> refuseMapping{false};
    std::string externalAddress;  // set before use; empty: the router gives none
};

// The description of a router with a connection service to map ports on.
std::string gatewayDescription();
// The text of the first element of that name in a control call's body.
std::string element(const std::string& body, const std::string& name);

}  // namespace tl::test
