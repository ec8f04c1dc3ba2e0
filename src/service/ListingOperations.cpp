#include "service/ListingOperations.h"

#include "service/Endpoints.h"
#include "service/ServiceRequest.h"

namespace tl {

int LogOff(const std::string& user) {
    return sendNotificationOrReport(endpoints::logOff(user));
}

}  // namespace tl
