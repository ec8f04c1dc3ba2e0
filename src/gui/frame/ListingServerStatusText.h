#pragma once

#include <QString>

#include "core/peer/ListingServerState.h"

namespace tl {

// The status bar's line about the listing server: whether it listens, what the router did
// with its port, and whether others can reach it. Empty before the server starts.
QString listingServerStatusText(const ListingServerStatus& status);

}  // namespace tl
