// Times a quick search of 10,000 records end to end on the client: the reply read by the query
// object (over loopback from an in-process server), the result list filled and sorted by price
// as a header click does. The baseline, in the same run, parses the same document with
// pugixml, sorts the price keys with std::sort and inserts the rows into a plain QTreeWidget.
// Each side runs several times; the best time counts.
//
//   result_list_bench [rounds]

#include <httplib.h>

#include <QApplication>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <pugixml.hpp>
#include <string>
#include <thread>
#include <vector>

#include "core/platform/ServerHost.h"
#include "core/search/ResultQueries.h"
#include "core/search/ResultRecord.h"
#include "core/service/ServiceRequest.h"
#include "gui/search/ResultList.h"
#include "gui/widgets/CSortListCtrl.h"

namespace {

constexpr int kRecords = 10000;
constexpr int kPriceColumn = 2;

std::string makeReply() {
    std::string reply = "<results>";
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int i = 1; i <= kRecords; ++i) {
        const unsigned r = next() >> 8;
        std::string price = r % 10 == 0 ? "-1"
                            : r % 10 == 1
                                ? "0"
                                : std::to_string(r % 5000) + "." + std::to_string(r % 100);
        reply += "<result><productid>" + std::to_string(i) + "</productid><titlebar>Listing " +
                 std::to_string(r) + " of the marketplace</titlebar><username>member" +
                 std::to_string(r % 997) + "</username><ipaddress>" +
                 (r % 3 == 0 ? "" : "10.0." + std::to_string(r % 250) + ".7") +
                 "</ipaddress><connection>DSL</connection><filesize>" + std::to_string(r % 900) +
                 "</filesize><status>" + (r % 2 == 0 ? "Selling" : "Buying") + "</status><price>" +
                 price + "</price><email>member" + std::to_string(r % 997) +
                 "@example.org</email></result>";
    }
    return reply + "</results>";
}

double seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

double baseline(const std::string& reply) {
    const auto start = std::chrono::steady_clock::now();
    pugi::xml_document document;
    document.load_buffer(reply.data(), reply.size());
    struct Row {
        double key;
        QStringList texts;
    };
    std::vector<Row> rows;
    rows.reserve(kRecords);
    for (pugi::xml_node record : document.document_element().children()) {
        QStringList texts;
        for (const char* field :
             {"productid", "titlebar", "price", "username", "productid", "ipaddress", "filesize",
              "connection", "email", "status", "status"})
            texts << QString::fromUtf8(record.child(field).text().get());
        rows.push_back({tl::CSortListCtrl::numericValue(texts[kPriceColumn]), texts});
    }
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.key < b.key; });
    QTreeWidget tree;
    tree.setColumnCount(11);
    for (const Row& row : rows) new QTreeWidgetItem(&tree, row.texts);
    return seconds(start);
}

// The phases of one list fill, in seconds.
struct Phases {
    double total = 1e9, read = 0, fill = 0, sort = 0;
};

Phases resultList(int* rows) {
    Phases phases;
    const auto start = std::chrono::steady_clock::now();
    tl::ResultList list(tl::quickSearchLayout(), nullptr);
    tl::QuickSearchQuery query("", "BOTH");
    query.Run();
    phases.read = seconds(start);
    const auto filling = std::chrono::steady_clock::now();
    list.addRecords(query.takeRecords());
    phases.fill = seconds(filling);
    const auto sorting = std::chrono::steady_clock::now();
    list.sortByItemNumber();
    list.onHeaderClicked(kPriceColumn);
    phases.sort = seconds(sorting);
    *rows = list.topLevelItemCount();
    phases.total = seconds(start);
    return phases;
}

double transportOnly() {
    const auto start = std::chrono::steady_clock::now();
    tl::requestText(tl::endpoints::search("", "BOTH"));
    return seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    const std::string reply = makeReply();
    httplib::Server server;
    server.Get("/tradeloom/app/search.asp", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(reply, "text/xml");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { server.listen_after_bind(); });
    while (!server.is_running()) std::this_thread::yield();
    tl::setServerHost("127.0.0.1:" + std::to_string(port));

    Phases best;
    double bestBaseline = 1e9, bestTransport = 1e9;
    int rows = 0;
    for (int round = 0; round < rounds; ++round) {
        bestBaseline = std::min(bestBaseline, baseline(reply));
        const Phases phases = resultList(&rows);
        if (phases.total < best.total) best = phases;
        bestTransport = std::min(bestTransport, transportOnly());
    }
    server.stop();
    serving.join();

    std::printf("reply: %d records, %zu bytes; rows listed: %d\n", kRecords, reply.size(), rows);
    std::printf("baseline (pugixml, std::sort, QTreeWidget): %.1f ms\n", bestBaseline * 1000);
    std::printf(
        "quick-search list (request, read, fill, sort by item #, sort by price): %.1f ms "
        "(request and read %.1f ms, of which the request over loopback %.1f ms; fill %.1f ms; "
        "sorts %.1f ms)\n",
        best.total * 1000, best.read * 1000, bestTransport * 1000, best.fill * 1000,
        best.sort * 1000);
    std::printf("ratio: %.2f\n", best.total / bestBaseline);
    return 0;
}
