#include "gui/widgets/Controls.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
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

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

QLabel* hiddenBitmap(QWidget* parent, int controlId, int bitmapId) {
    auto* label = new QLabel(parent);
    setControlId(label, controlId);
    label->setPixmap(bitmapResource(bitmapId));
    label->hide();
    return label;
}

QPushButton* idButton(QWidget* parent, int id, const QString& text) {
    auto* button = new QPushButton(text, parent);
    setControlId(button, id);
    return button;
}

QPushButton* pictureButton(QWidget* parent, int id, const QString& text, const QLabel* source) {
    QPushButton* button = idButton(parent, id, text);
    const QPixmap picture = source->pixmap();
    button->setIcon(picture);
    button->setIconSize(picture.size());
    return button;
}

}  // namespace tl
