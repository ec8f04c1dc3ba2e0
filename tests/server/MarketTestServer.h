#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MarketServer.h"
#include "MarketStore.h"
#include "TestDatabase.h"
#include "core/platform/NonCopyable.h"
#include "core/platform/XmlDocument.h"
#include "core/service/Endpoints.h"
#include "core/service/ServiceRequest.h"
#include "support/ScopedSettings.h"

namespace tl::test {

// The marketplace server started in-process on an ephemeral loopback port with a fresh data
// folder (and a fresh database, when the tests run on PostgreSQL), made the client's server host
// for the object's lifetime.
class MarketTestServer : NonCopyable {
public:
    // adjust changes the server's options before each start.
    using Adjust = std::function<void(market::MarketServerOptions&)>;
    explicit MarketTestServer(Adjust adjust = nullptr);
    ~MarketTestServer();

    // Stops the server and starts a new one on the same data folder.
    void restart();

    std::string host() const;  // "127.0.0.1:<port>"
    int port() const { return port_; }
    const std::string& dataFolder() const { return folder_; }
    market::MarketServer& server() { return *server_; }
    std::vector<std::string> outboxMails() const;  // every mail file's text, oldest first

    // Runs SQL on the server's database, whichever kind it is; column 0 of each row.
    std::vector<std::string> sql(const std::string& statement);

private:
    void start();

    Adjust adjust_;
    std::string folder_;
    TestDatabase database_;
    std::unique_ptr<market::MarketServer> server_;
    int port_ = 0;
};

// Runs the request with the client's connections leaving from the loopback address.
template <typename F>
auto fromAddress(const char* address, F request) {
    ScopedEnv bind("TRADELOOM_BIND", address);
    return request();
}

// A member's registration fields with plausible values.
endpoints::MemberFields memberFields(const std::string& user, const std::string& password);
// Registers the member through the client's own request code; returns the reply text.
std::string registerMember(const std::string& user, const std::string& password = "secret1");

// A listing's publish fields with plausible values.
endpoints::ListingFields listingFields(const std::string& owner, const std::string& title,
                                       const std::string& price = "5.99",
                                       const std::string& kind = "Selling");
// Publishes the listing; returns the reply text (the product id when stored).
std::string publish(const endpoints::ListingFields& listing);

// The records of a results reply, each as the list of (field, text) in the order sent.
using Record = std::vector<std::pair<std::string, std::string>>;
std::vector<Record> records(const Query& query, Credentials credentials = Credentials::Service);
std::vector<std::string> fieldNames(const Record& record);
std::string field(const Record& record, const std::string& name);

}  // namespace tl::test
