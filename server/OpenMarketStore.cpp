#include "MarketStore.h"

#include <stdexcept>

#include "PostgresMarketStore.h"
#include "SqliteMarketStore.h"

namespace tl::market {

std::unique_ptr<MarketStore> openMarketStore(const std::string& database) {
    const std::string sqlite = "sqlite:";
    if (database.rfind(sqlite, 0) == 0 && database.size() > sqlite.size())
        return std::make_unique<SqliteMarketStore>(database.substr(sqlite.size()));
    if (database.rfind("postgresql://", 0) == 0 || database.rfind("postgres://", 0) == 0)
        return std::make_unique<PostgresMarketStore>(database);
    // The value is not repeated: a mistyped URI may still carry a password.
    throw std::invalid_argument("--database takes sqlite:PATH or a postgresql:// URI");
}

}  // namespace tl::market
