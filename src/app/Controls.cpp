#include "app/Controls.h"

#include <QVariant>

// The resource file lives in a static library: register it before the first use.
static void registerResources() {
    Q_INIT_RESOURCE(tradeloom);
}

namespace tl {

void setControlId(QWidget* control, int id) {
    control->setObjectName(QStringLiteral("ctl_%1").arg(id));
    control->setProperty("controlId", id);
}

void setTemplateId(QWidget* form, int templateId) {
    form->setObjectName(QStringLiteral("dlg_%1").arg(templateId));
    form->setProperty("templateId", templateId);
}

int controlId(const QWidget* control) {
    return control->property("controlId").toInt();
}

QPixmap bitmapResource(int id) {
    static const bool registered = (registerResources(), true);
    (void)registered;
    return QPixmap(QStringLiteral(":/bitmaps/%1.png").arg(id));
}

}  // namespace tl
