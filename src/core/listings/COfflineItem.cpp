#include "core/listings/COfflineItem.h"

#include "core/service/Endpoints.h"
#include "core/service/ServiceRequest.h"

namespace tl {

int COfflineItem::Load() {
    try {
        return document_.loadXml(requestText(endpoints::offlineItem(productId_))) ? 1 : 0;
    } catch (const RequestError&) {
        return 0;
    }
}

std::string COfflineItem::childText(const char* name) const {
    const XmlNode root = document_.documentElement();
    const XmlNode child = root ? root.selectSingleNode(name) : XmlNode();
    return child ? child.text() : std::string();
}

}  // namespace tl
