#pragma once

#include <string>

#include "core/platform/NonCopyable.h"

namespace tl::test {

// Which store the test servers use: SQLite in their data folder (the default), or, once
// usePostgresCluster was called, a database of their own on the PostgreSQL cluster whose
// Unix socket is in socketFolder.
void usePostgresCluster(const std::string& socketFolder);
bool onPostgres();

// Puts the test servers of this process on PostgreSQL: on the cluster ctest started around the
// run (TRADELOOM_TEST_POSTGRES names its folder) or, run by hand, on a cluster of the process's
// own, stopped when the process ends.
void usePostgresForTheRun();

// The connection URI of a database on the cluster.
std::string postgresUri(const std::string& databaseName);

// A fresh, empty database for one test server, dropped when the object goes; on SQLite it is
// nothing, and uri() is "" (the server's data folder keeps its database).
class TestDatabase : NonCopyable {
public:
    TestDatabase();
    ~TestDatabase();
    const std::string& uri() const { return uri_; }

private:
    std::string name_, uri_;
};

// A throwaway cluster in a temporary folder, started by the constructor and stopped (and its
// folder removed) by the destructor.
class PostgresCluster : NonCopyable {
public:
    PostgresCluster();
    ~PostgresCluster();
    const std::string& socketFolder() const { return folder_; }

private:
    std::string folder_;
};

}  // namespace tl::test
