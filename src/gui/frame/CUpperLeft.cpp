#include "gui/frame/CUpperLeft.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "gui/session/Navigation.h"
#include "gui/widgets/Controls.h"
#include "ids_frame.h"

namespace tl {

CUpperLeft::CUpperLeft(QWidget* parent) : FormPane(res::IDD_UPPERLEFT, parent) {
    const QLabel* picture = hiddenBitmap(this, res::IDC_BACK_BITMAP, res::IDB_BACK);
    QPushButton* back = pictureButton(this, res::IDC_BACK, "Back", picture);
    connect(back, &QPushButton::clicked, this, [] {
        if (Navigator* frame = navigator()) frame->Back();
    });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(back);
}

}  // namespace tl
