#include "app/Session.h"

namespace tl {

Session& session() {
    static Session values;
    return values;
}

}  // namespace tl
