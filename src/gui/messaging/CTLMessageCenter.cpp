#include "gui/messaging/CTLMessageCenter.h"

#include <QVBoxLayout>

#include "core/service/Endpoints.h"
#include "core/session/Session.h"
#include "gui/web/CExplorer1.h"
#include "gui/widgets/Controls.h"
#include "ids_messaging.h"

namespace tl {

CTLMessageCenter::CTLMessageCenter(QWidget* parent)
    : FormPane(res::IDD_MESSAGECENTER, parent), explorer_(new CExplorer1(this)) {
    setControlId(explorer_, res::IDC_MESSAGE_BROWSER);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(explorer_);
}

void CTLMessageCenter::showEvent(QShowEvent* event) {
    FormPane::showEvent(event);
    // Neither history nor cache: the list must come from the server each time.
    explorer_->Navigate2(
        endpoints::messageCentre(session().currentUserName).address(),
        CExplorer1::kNoHistory | CExplorer1::kNoReadFromCache | CExplorer1::kNoWriteToCache);
}

}  // namespace tl
