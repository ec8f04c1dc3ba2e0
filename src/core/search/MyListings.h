#pragma once

#include <string>

#include "core/search/ResultQuery.h"

namespace tl {

// The member's own listings in every state: on offer, sold and inactive.
class MyListingsQuery : public ResultQuery {
public:
    explicit MyListingsQuery(const std::string& user);
};

}  // namespace tl
