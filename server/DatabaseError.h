#pragma once

#include <stdexcept>

namespace tl::market {

// A database failure (cannot open, constraint broken, disk full, connection lost): the request
// that met it gets a 500 reply and the server carries on.
class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tl::market
