#include "core/service/ListingOperations.h"

#include "core/service/Endpoints.h"
#include "core/service/ServiceRequest.h"

namespace tl {

int LogOff(const std::string& user) {
    return sendNotificationOrReport(endpoints::logOff(user));
}

}  // namespace tl
