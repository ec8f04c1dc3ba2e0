#include "core/session/Session.h"

namespace tl {

Session& session() {
    static Session values;
    return values;
}

}  // namespace tl
