#include "core/session/PendingSearch.h"

namespace tl {

PendingSearch& pendingSearch() {
    static PendingSearch values;
    return values;
}

}  // namespace tl
