#include "TestDatabase.h"

#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <stdexcept>

#include "PostgresDatabase.h"

namespace tl::test {
namespace {

std::string& clusterFolder() {
    static std::string folder;
    return folder;
}

void runOnCluster(const std::string& sql) {
    market::PgConnection admin(postgresUri("postgres"));
    admin.execute(sql);
}

std::string clusterCommand(const char* action, const std::string& folder) {
    return std::string("'") + TRADELOOM_POSTGRES_CLUSTER_SCRIPT + "' " + action + " '" + folder +
           "'";
}

}  // namespace

void usePostgresCluster(const std::string& socketFolder) {
    clusterFolder() = socketFolder;
}

void usePostgresForTheRun() {
    if (const char* folder = std::getenv("TRADELOOM_TEST_POSTGRES"); folder && *folder) {
        usePostgresCluster(folder);
        return;
    }
    static PostgresCluster own;
    usePostgresCluster(own.socketFolder());
}

bool onPostgres() {
    return !clusterFolder().empty();
}

std::string postgresUri(const std::string& databaseName) {
    return "postgresql:///" + databaseName + "?host=" + clusterFolder() + "&user=tradeloom";
}

TestDatabase::TestDatabase() {
    if (!onPostgres()) return;
    // Test processes run side by side on one cluster: the process id keeps their names apart.
    static std::atomic<int> counter{0};
    name_ = "market_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    runOnCluster("CREATE DATABASE " + name_ + " STRATEGY FILE_COPY");
    uri_ = postgresUri(name_);
}

TestDatabase::~TestDatabase() {
    if (name_.empty()) return;
    try {
        runOnCluster("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    } catch (const std::exception&) {
        // The cluster goes away at the end of the run with everything in it.
    }
}

PostgresCluster::PostgresCluster() {
    char folder[] = "/tmp/tradeloom-pg.XXXXXX";
    if (!mkdtemp(folder)) throw std::runtime_error("no temporary folder");
    folder_ = folder;
    if (std::system(clusterCommand("start", folder_).c_str()) != 0)
        throw std::runtime_error("the PostgreSQL test cluster did not start");
}

PostgresCluster::~PostgresCluster() {
    [[maybe_unused]] const int stopped = std::system(clusterCommand("stop", folder_).c_str());
}

}  // namespace tl::test
