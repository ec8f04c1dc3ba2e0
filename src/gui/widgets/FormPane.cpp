#include "gui/widgets/FormPane.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

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

void FormPane::addButtonColumn(std::initializer_list<Button> buttons) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 8, 4, 8);
    for (const Button& each : buttons) {
        QPushButton* button = nullptr;
        if (each.pictureId != 0) {
            button = pictureButton(this, each.id, each.caption,
                                   hiddenBitmap(this, each.pictureId, each.bitmap));
        } else {
            button = idButton(this, each.id, each.caption);
            const QPixmap picture = bitmapResource(each.bitmap);
            button->setIcon(picture);
            button->setIconSize(picture.size());
        }
        connect(button, &QPushButton::clicked, this, each.run);
        column->addWidget(button);
    }
    column->addStretch();
}

}  // namespace tl
