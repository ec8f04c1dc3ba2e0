#pragma once

#include <string>

#include "core/search/ResultQuery.h"

namespace tl {

// The member's own listings in every state: on offer, sold and inactive.
class MyListingsQuery : public ResultQuery {
public:
    explicit MyListingsQuery(const std::string& user);
};

// Whether the marketplace keeps a listing's files, by the record's fileskept field: "Kept",
// "Not kept", or "" when the record has no such field (a marketplace that keeps none).
const char* filesKeptText(const std::string& fileskept);

}  // namespace tl
