// The server tests again, with every test server on PostgreSQL. Under ctest the cluster is
// started and stopped around the whole run; run by hand, the binary starts a cluster of its own.
#include <gtest/gtest.h>

#include "TestDatabase.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!::testing::GTEST_FLAG(list_tests)) tl::test::usePostgresForTheRun();
    return RUN_ALL_TESTS();
}
