#include "gui/listings/CAddLeft.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "gui/listings/CView3.h"
#include "gui/widgets/Controls.h"
#include "ids_listings.h"

namespace tl {

CAddLeft::CAddLeft(QWidget* parent) : FormPane(res::IDD_ADDLEFT, parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 8, 4, 8);
    struct Command {
        int id;
        const char* caption;
        int bitmap;
        void (CView3::*run)();
    };
    for (const Command& command :
         {Command{res::ID_ITEM_ADD, "Add", res::IDB_ADDLEFT_ADD, &CView3::Add},
          Command{res::ID_ITEM_PREVIEW, "Preview", res::IDB_ADDLEFT_PREVIEW, &CView3::Preview},
          Command{res::ID_ITEM_CLEAR, "Clear", res::IDB_ADDLEFT_CLEAR, &CView3::Clear}}) {
        auto* button = new QPushButton(command.caption, this);
        setControlId(button, command.id);
        const QPixmap picture = bitmapResource(command.bitmap);
        button->setIcon(picture);
        button->setIconSize(picture.size());
        connect(button, &QPushButton::clicked, this,
                [this, run = command.run] { onEveryForm(run); });
        column->addWidget(button);
    }
    column->addStretch();
}

void CAddLeft::onEveryForm(void (CView3::*command)()) {
    for (CView3* form : window()->findChildren<CView3*>()) (form->*command)();
}

}  // namespace tl
