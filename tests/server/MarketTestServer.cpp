#include "MarketTestServer.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Database.h"
#include "PostgresDatabase.h"
#include "core/platform/ServerHost.h"
#include "core/service/Replies.h"

namespace tl::test {

MarketTestServer::MarketTestServer(Adjust adjust) : adjust_(std::move(adjust)) {
    char folder[] = "/tmp/tradeloom-market-test.XXXXXX";
    if (!mkdtemp(folder)) throw std::runtime_error("no temporary folder");
    folder_ = folder;
    start();
}

MarketTestServer::~MarketTestServer() {
    server_.reset();
    setServerHost("");
    std::filesystem::remove_all(folder_);
}

void MarketTestServer::start() {
    market::MarketServerOptions options;
    options.dataFolder = folder_;
    options.database = database_.uri();
    options.logRequests = false;
    options.workerThreads = 4;
    if (adjust_) adjust_(options);
    server_ = std::make_unique<market::MarketServer>(options);
    port_ = server_->start("127.0.0.1", 0);
    if (port_ < 0) throw std::runtime_error("the market server did not start");
    setServerHost(host());
}

void MarketTestServer::restart() {
    server_.reset();
    start();
}

std::string MarketTestServer::host() const {
    return "127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> MarketTestServer::outboxMails() const {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder_ + "/outbox"))
        if (entry.path().extension() == ".eml") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<std::string> mails;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        mails.push_back(text.str());
    }
    return mails;
}

std::vector<std::string> MarketTestServer::sql(const std::string& statement) {
    std::vector<std::string> column;
    if (database_.uri().empty()) {
        market::Connection db(folder_ + "/market.db");
        auto query = db.prepare(statement);
        while (query.step()) column.push_back(query.text(0));
    } else {
        market::PgConnection db(database_.uri());
        const auto rows = db.query(statement);
        for (int i = 0; i < rows.rows(); ++i) column.push_back(rows.text(i, 0));
    }
    return column;
}

endpoints::MemberFields memberFields(const std::string& user, const std::string& password) {
    endpoints::MemberFields m;
    m.username = user;
    m.firstname = "Ann";
    m.lastname = "Lee";
    m.address = "1 Main Street";
    m.city = "Springfield";
    m.zipcode = "12345";
    m.state = "IL";
    m.connection = "Cable";
    m.contact = "Email";
    m.email = user + "@example.org";
    m.phone = "555-0100";
    m.club1 = "Book Lovers";
    m.club2 = "";
    m.country = "US";
    m.password = password;
    return m;
}

std::string registerMember(const std::string& user, const std::string& password) {
    return requestText(endpoints::newUser(memberFields(user, password)));
}

endpoints::ListingFields listingFields(const std::string& owner, const std::string& title,
                                       const std::string& price, const std::string& kind) {
    endpoints::ListingFields l;
    l.titlebar = title;
    l.description = "Good condition, " + title;
    l.shipping = "US";
    l.zipcode = "12345";
    l.quantity = "1";
    l.shippingpay = "Buyer";
    l.username = owner;
    l.category1 = "Antiques; Clocks";
    l.category2 = "";
    l.status = kind;
    l.paymentterms = "";
    l.paymentmethods = "MVE";
    l.escrow = "none";
    l.price = price;
    return l;
}

std::string publish(const endpoints::ListingFields& listing) {
    return requestText(endpoints::newProduct(listing));
}

std::vector<Record> records(const Query& query, Credentials credentials) {
    XmlDocument document;
    const std::string reply = requestText(query, credentials);
    EXPECT_TRUE(document.loadXml(reply)) << reply;
    std::vector<Record> out;
    for (const XmlNode& node : resultRecords(document)) {
        Record record;
        for (const XmlNode& child : node.childNodes())
            if (child.isElement()) record.emplace_back(child.name(), child.text());
        out.push_back(std::move(record));
    }
    return out;
}

std::vector<std::string> fieldNames(const Record& record) {
    std::vector<std::string> names;
    for (const auto& [name, text] : record) names.push_back(name);
    return names;
}

std::string field(const Record& record, const std::string& name) {
    for (const auto& [key, text] : record)
        if (key == name) return text;
    ADD_FAILURE() << "record has no field " << name;
    return {};
}

}  // namespace tl::test
