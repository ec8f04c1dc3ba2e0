#include "gui/frame/CLowerLeft.h"

#include <QHBoxLayout>
#include <QLabel>

#include "gui/widgets/Controls.h"
#include "ids_frame.h"

namespace tl {

CLowerLeft::CLowerLeft(QWidget* parent) : FormPane(res::IDD_LOWERLEFT, parent, kPanePurple) {
    auto* logo = new QLabel(this);
    logo->setPixmap(bitmapResource(res::IDB_LOGO));
    logo->setAlignment(Qt::AlignCenter);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(logo);
}

}  // namespace tl
