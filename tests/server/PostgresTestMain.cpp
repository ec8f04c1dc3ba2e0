// The server tests again, with every test server on PostgreSQL. Under ctest the cluster is
// started and stopped around the whole run (TRADELOOM_TEST_POSTGRES names its folder); run by
// hand, the binary starts a cluster of its own.
#include <gtest/gtest.h>

#include <memory>

#include "TestDatabase.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    std::unique_ptr<tl::test::PostgresCluster> own;
    if (const char* folder = std::getenv("TRADELOOM_TEST_POSTGRES"); folder && *folder) {
        tl::test::usePostgresCluster(folder);
    } else {
        own = std::make_unique<tl::test::PostgresCluster>();
        tl::test::usePostgresCluster(own->socketFolder());
    }
    return RUN_ALL_TESTS();
}
