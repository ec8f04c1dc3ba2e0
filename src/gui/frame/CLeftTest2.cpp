#include "gui/frame/CLeftTest2.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/session/Navigation.h"
#include "gui/widgets/Controls.h"
#include "ids_frame.h"

namespace tl {

CLeftTest2::CLeftTest2(QWidget* parent) : FormPane(res::IDD_LEFTTEST2, parent, kPanePurple) {
    auto* print = new QPushButton("Print", this);
    setControlId(print, res::IDC_PRINT);
    const QPixmap picture = bitmapResource(res::IDB_PRINT);
    print->setIcon(picture);
    print->setIconSize(picture.size());
    connect(print, &QPushButton::clicked, this, &CLeftTest2::onPrint);

    auto* label = new QLabel("Print This Screen", this);
    setControlId(label, res::IDC_PRINT_LABEL);
    QPalette white = label->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(white);
    label->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 8, 4, 4);
    layout->addWidget(print);
    layout->addWidget(label);
    layout->addStretch(1);
}

void CLeftTest2::onPrint() {
    printShownPages();
}

}  // namespace tl
