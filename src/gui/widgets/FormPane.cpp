#include "gui/widgets/FormPane.h"

#include <QPainter>

#include "gui/widgets/Controls.h"

namespace tl {

FormPane::FormPane(int templateId, QWidget* parent, QColor background)
    : QWidget(parent), background_(background) {
    setTemplateId(this, templateId);
}

void FormPane::paintEvent(QPaintEvent*) {
    if (!background_.isValid()) return;
    QPainter painter(this);
    painter.fillRect(rect(), background_);
}

}  // namespace tl
